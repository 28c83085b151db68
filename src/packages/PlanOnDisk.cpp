#include "packages/PlanOnDisk.h"

#include "archive/Archive.h"
#include "archive/CommandProgress.h"
#include "archive/StoredName.h"
#include "backups/BackupStore.h"
#include "games/Games.h"
#include "packages/ExtractionCheck.h"
#include "packages/FileRefCounts.h"
#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/StopRequest.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

namespace wendmoor {

namespace {

using Step = PackagePlan::Step;

// The spelling an installed file lies under: its target, unless only its earlier spelling is
// on disk. An earlier package folder that is a symbolic link is not the package's.
const std::string& InstalledSpelling(const Step& step, const FileSystem& fileSystem) {
    if (step.earlierTarget.empty() || fileSystem.FileExists(step.target) ||
        !fileSystem.FileExists(step.earlierTarget)) {
        return step.target;
    }
    const std::string earlierFolder = FolderOf(step.earlierTarget);
    if (!step.packageFolder.empty() &&
        fileSystem.IsSymbolicLink(earlierFolder.substr(0, earlierFolder.size() - 1))) {
        return step.target;
    }
    return step.earlierTarget;
}

// Whether a package folder exists as a symbolic link, each asked once per plan.
class LinkedFolders {
  public:
    explicit LinkedFolders(const FileSystem& fileSystem) : fileSystem_(fileSystem) {}
    bool IsLinked(const std::string& folder) {
        if (folder.empty()) return false;
        auto [slot, inserted] = linked_.try_emplace(folder, false);
        if (inserted) slot->second = fileSystem_.IsSymbolicLink(folder);
        return slot->second;
    }

  private:
    const FileSystem& fileSystem_;
    std::map<std::string, bool> linked_;
};

constexpr const char* kLinkedFolderReason =
    "its package folder is a symbolic link, which is never written through";

// The folders a plan writes into or deletes from, each once, in plan order.
std::vector<std::string> FoldersTouched(const PackagePlan& plan) {
    std::vector<std::string> folders;
    std::set<std::string> seen;
    for (const Step& step : plan.Steps()) {
        std::string folder =
            step.kind == Step::Kind::File ? FolderOf(step.target) : step.target + kPathSeparator;
        if (seen.insert(folder).second) folders.push_back(std::move(folder));
    }
    return folders;
}

// The bytes the package has for an entry: a file of the player's that holds them needs no backup.
FileFingerprint PackageBytes(const Archive& archive, const std::string& entry) {
    const ZipEntryRecord* record = archive.RecordFor(entry);
    return record == nullptr ? FileFingerprint{} : FileFingerprint{record->size, record->crc32};
}

Outcome RemoveStaleTemporaryFiles(const PackagePlan& plan, FileSystem& fileSystem,
                                  LinkedFolders& linked) {
    Outcome outcome;
    for (const std::string& folder : FoldersTouched(plan)) {
        if (linked.IsLinked(folder.substr(0, folder.size() - 1))) continue;
        outcome.Merge(fileSystem.RemoveStaleTemporaryFiles(folder));
    }
    return outcome;
}

// The files and bytes a command will write or delete, as the archive's directory declares them.
void BeginProgress(const Archive& archive, const PackagePlan& plan, CommandProgress& progress) {
    int files = 0;
    std::uint64_t bytes = 0;
    for (const Step& step : plan.Steps()) {
        if (step.kind != Step::Kind::File) continue;
        ++files;
        if (const ZipEntryRecord* record = archive.RecordFor(step.entry)) bytes += record->size;
    }
    progress.Begin(files, bytes);
}

// A file written beside its target, waiting to be renamed over it.
struct PendingFile {
    std::vector<const Step*> steps;  // several when stored names differ only in case
    std::unique_ptr<FileReplacement> file;
};

// What the first phase of an install leaves: the files written, and the folders it made.
struct WrittenFiles {
    std::vector<PendingFile> pending;
    std::vector<std::string> createdFolders;
};

// First every file into a flushed temporary file beside its target; nothing is replaced yet,
// so a stop or a failure up to here leaves the game folders as they were.
WrittenFiles WriteFiles(Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                        LinkedFolders& linked, CommandProgress* progress,
                        const std::function<bool()>& stopping, Outcome& outcome) {
    WrittenFiles written;
    // Targets that differ only in letter case are one file on the game's own file system, and
    // the case-blind lookup gives them the same entry: it is written once.
    std::map<std::string, std::size_t> pendingByTarget;
    std::set<std::string> unusableFolders;
    for (const Step& step : plan.Steps()) {
        if (stopping()) break;
        if (step.kind == Step::Kind::MakeFolder) {
            if (linked.IsLinked(step.target)) {
                outcome.Add(step.target, "is a symbolic link, never written through");
                unusableFolders.insert(step.target);
                continue;
            }
            bool created = false;
            const Outcome made = fileSystem.CreateFolder(step.target, &created);
            if (!made.Ok()) unusableFolders.insert(step.target);
            if (created) written.createdFolders.push_back(step.target);
            outcome.Merge(made);
        } else if (step.kind == Step::Kind::File) {
            if (unusableFolders.count(step.packageFolder) != 0) {
                outcome.Add(step.target, "its package folder could not be used");
                continue;
            }
            const std::string key = FoldCase(step.target);
            if (const auto same = pendingByTarget.find(key); same != pendingByTarget.end()) {
                written.pending[same->second].steps.push_back(&step);
                continue;
            }
            auto file = std::make_unique<FileReplacement>(fileSystem, step.target);
            file->DeferSync();
            if (progress != nullptr) progress->StartFile(step.entry);
            Outcome entryWritten = WriteEntry(archive, step.entry, *file, progress);
            if (progress != nullptr) progress->FinishFile();
            if (!entryWritten.Ok()) {
                outcome.Merge(entryWritten);
                continue;
            }
            pendingByTarget.emplace(key, written.pending.size());
            written.pending.push_back({{&step}, std::move(file)});
        }
    }
    return written;
}

// What the renames would replace of the player's is kept first; a file that cannot be kept is
// not replaced.
void KeepReplacedFiles(const Archive& archive, CommandBackup& backup, CommandProgress* progress,
                       std::vector<PendingFile>& pending, Outcome& outcome) {
    if (progress != nullptr) progress->StartBackingUp(static_cast<int>(pending.size()));
    backup.DeferDurability();
    std::erase_if(pending, [&](const PendingFile& item) {
        if (progress != nullptr) progress->StartFile(item.file->Target());
        const FileFingerprint bytes = PackageBytes(archive, item.steps.front()->entry);
        const Outcome kept = backup.Keep(item.file->Target(), bytes, bytes);
        if (progress != nullptr) progress->FinishFile();
        outcome.Merge(kept);
        return !kept.Ok();
    });
    // Every copy is on the disk before the first original changes, with one wait for it.
    if (Outcome durable = backup.MakeDurable(); !durable.Ok()) {
        outcome.Merge(durable);
        pending.clear();
    }
}

// The written bytes reach the disk, once per file system, before any rename can make them a
// target's; then the renames, and one sync of each folder that received a file. Returns those
// folders.
std::set<std::string> CommitFiles(std::vector<PendingFile>& pending, FileSystem& fileSystem,
                                  FileRefCounts& fileRefs, Outcome& outcome) {
    std::vector<std::string> writtenFolders;
    for (const PendingFile& item : pending) writtenFolders.push_back(FolderOf(item.file->Target()));
    if (Outcome synced = fileSystem.SyncFileSystemsOf(writtenFolders); !synced.Ok()) {
        outcome.Merge(synced);
        pending.clear();
    }
    std::set<std::string> changedFolders;
    if (!pending.empty()) PastPointOfNoReturn();
    for (PendingFile& item : pending) {
        const Outcome committed = item.file->Commit();
        outcome.Merge(committed);
        if (!committed.Ok()) continue;
        changedFolders.insert(FolderOf(item.file->Target()));
        for (const Step* step : item.steps) {
            if (step->counted) fileRefs.AddFileRef(step->target);
        }
    }
    for (const std::string& folder : changedFolders) outcome.Merge(fileSystem.SyncFolder(folder));
    return changedFolders;
}

}  // namespace

bool IsPlanInstalled(const PackagePlan& plan, const FileSystem& fileSystem) {
    LinkedFolders linked(fileSystem);
    for (const Step& step : plan.Steps()) {
        if (step.kind != Step::Kind::File) continue;
        if (linked.IsLinked(step.packageFolder) ||
            !fileSystem.FileExists(InstalledSpelling(step, fileSystem))) {
            return false;
        }
    }
    return true;
}

bool HasPlanRemains(const PackagePlan& plan, const FileSystem& fileSystem,
                    const FileRefCounts& fileRefs) {
    LinkedFolders linked(fileSystem);
    for (const Step& step : plan.Steps()) {
        if (step.kind == Step::Kind::File && !linked.IsLinked(step.packageFolder) &&
            (!step.counted || fileRefs.CountOf(step.target) == 0) &&
            fileSystem.FileExists(InstalledSpelling(step, fileSystem))) {
            return true;
        }
    }
    return false;
}

void AddPlanRefs(const PackagePlan& plan, FileRefCounts& fileRefs) {
    for (const Step& step : plan.Steps()) {
        if (step.kind == Step::Kind::File && step.counted) fileRefs.AddFileRef(step.target);
    }
}

Outcome InstallPlan(Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                    FileRefCounts& fileRefs, CommandProgress* progress, CommandBackup* backup) {
    const WritingSection section;
    const auto stopping = [progress] {
        return StopRequested() || (progress != nullptr && progress->CancelRequested());
    };
    if (progress != nullptr) BeginProgress(archive, plan, *progress);
    LinkedFolders linked(fileSystem);
    Outcome outcome = RemoveStaleTemporaryFiles(plan, fileSystem, linked);

    WrittenFiles written =
        WriteFiles(archive, plan, fileSystem, linked, progress, stopping, outcome);
    if (backup != nullptr && !stopping()) {
        KeepReplacedFiles(archive, *backup, progress, written.pending, outcome);
    }
    if (stopping()) {
        outcome = Outcome::Failed(
            "the install", StopRequested() ? "stopped by a signal before any file was replaced"
                                           : "cancelled before any file was replaced");
        written.pending.clear();
    }
    const std::set<std::string> changedFolders =
        CommitFiles(written.pending, fileSystem, fileRefs, outcome);
    // A folder made for files of which none arrived goes again.
    for (const std::string& folder : written.createdFolders) {
        if (changedFolders.count(fileSystem.Resolve(folder) + kPathSeparator) == 0) {
            outcome.Merge(fileSystem.RemoveFolder(folder));
        }
    }
    return outcome;
}

Outcome DeinstallPlan(const Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                      FileRefCounts& fileRefs, CommandProgress* progress, CommandBackup* backup) {
    const WritingSection section;
    if (progress != nullptr) BeginProgress(archive, plan, *progress);
    LinkedFolders linked(fileSystem);
    Outcome outcome = RemoveStaleTemporaryFiles(plan, fileSystem, linked);
    // A deinstall stopped halfway would leave the package in part: it runs to its end.
    PastPointOfNoReturn();
    std::set<std::string> changedFolders;
    for (const Step& step : plan.Steps()) {
        if (step.kind == Step::Kind::File) {
            if (linked.IsLinked(step.packageFolder)) {
                outcome.Add(step.target, kLinkedFolderReason);
                continue;
            }
            // Deleted unless another package still holds it: the player's changes go first.
            const bool deletes = !step.counted || fileRefs.CountOf(step.target) == 1;
            const std::string& onDisk = InstalledSpelling(step, fileSystem);
            if (deletes && backup != nullptr) {
                const Outcome kept = backup->Keep(fileSystem.Resolve(onDisk),
                                                  PackageBytes(archive, step.entry), std::nullopt);
                outcome.Merge(kept);
                if (!kept.Ok()) continue;
            }
            if (progress != nullptr) progress->StartFile(step.entry);
            outcome.Merge(step.counted ? fileRefs.ReleaseFileRef(step.target, onDisk)
                                       : fileSystem.DeleteFile(onDisk));
            if (progress != nullptr) {
                progress->AddBytes(PackageBytes(archive, step.entry).size);
                progress->FinishFile();
            }
            changedFolders.insert(FolderOf(step.target));
        } else if (step.kind == Step::Kind::RemoveFolder) {
            if (linked.IsLinked(step.target)) continue;
            outcome.Merge(fileSystem.RemoveFolder(step.target));
            if (!step.earlierTarget.empty() && !linked.IsLinked(step.earlierTarget)) {
                outcome.Merge(fileSystem.RemoveFolder(step.earlierTarget));
            }
            changedFolders.insert(FolderOf(step.target));
        }
    }
    for (const std::string& folder : changedFolders) {
        if (fileSystem.FolderExists(folder)) outcome.Merge(fileSystem.SyncFolder(folder));
    }
    return outcome;
}

Outcome ApplyPackagePlan(const std::string& archivePath, const PackagePlan& plan,
                         PackageCommandContext& context, bool install) {
    Outcome unreadable;
    const std::unique_ptr<Archive> archive = Archive::Open(archivePath, &unreadable);
    if (!archive) return unreadable;
    if (!install) {
        if (!IsPlanInstalled(plan, context.fileSystem)) AddPlanRefs(plan, context.fileRefs);
        return DeinstallPlan(*archive, plan, context.fileSystem, context.fileRefs, context.progress,
                             context.backup);
    }
    if (Outcome fits = CanExtractPlan(*archive, plan, context.fileSystem); !fits.Ok()) {
        return fits;
    }
    return InstallPlan(*archive, plan, context.fileSystem, context.fileRefs, context.progress,
                       context.backup);
}

std::optional<Outcome> RunGameCommand(const GameDescription& game, PackageCommandContext& context,
                                      const std::string& archivePath, bool install) {
    Outcome unreadable;
    const std::optional<PackagePlan> plan = game.planFor(context.paths, archivePath, &unreadable);
    if (!plan) return unreadable.Ok() ? std::nullopt : std::optional<Outcome>(unreadable);
    return ApplyPackagePlan(archivePath, *plan, context, install);
}

}  // namespace wendmoor
