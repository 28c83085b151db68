#include "games/PackagePlan.h"

#include "archive/Archive.h"
#include "backups/BackupStore.h"
#include "archive/CommandProgress.h"
#include "packages/ExtractionCheck.h"
#include "packages/FileRefCounts.h"
#include "archive/StoredName.h"
#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/StopRequest.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace wendmoor {

std::string PackagePlan::MakeFolder(const std::string& parent, const std::string& name) {
    // An empty name means the parent itself: files go there, but the parent is never created.
    if (name.empty()) return parent;
    if (!IsSafeFileName(name)) return {};
    steps_.push_back({Step::Kind::MakeFolder, {}, parent + name, false, {}, {}});
    madeFolders_.push_back(parent + name + kPathSeparator);
    return madeFolders_.back();
}

void PackagePlan::RemoveFolder(const std::string& parent, const std::string& name) {
    // Only a folder of the package's own goes, never the parent it was made in.
    if (name.empty() || !IsSafeFileName(name)) return;
    steps_.push_back({Step::Kind::RemoveFolder, {}, parent + name, false, {}, {}});
}

void PackagePlan::File(const std::string& folder, const std::string& name, bool counted) {
    if (folder.empty() || !IsSafeFileName(name)) return;
    std::string packageFolder;
    for (const std::string& made : madeFolders_) {
        if (made == folder) packageFolder = made.substr(0, made.size() - 1);
    }
    steps_.push_back(
        {Step::Kind::File, name, folder + name, counted, std::move(packageFolder), {}});
}

void PackagePlan::UseEarlierSpellings(const EarlierSpellings& spellings) {
    if (spellings.empty()) return;
    // A package folder is named by the start of one entry's name (an adventure's ".pak", a
    // campaign's ".set"), and an earlier version named it by the same start of that entry's
    // bytes: what is left of the two names after it is the same.
    std::map<std::string, std::string> earlierFolders;
    for (Step& step : steps_) {
        if (step.kind == Step::Kind::File) continue;
        const std::string name = FileNameOf(step.target);
        for (const auto& [stored, before] : spellings) {
            const std::size_t rest = stored.size() - name.size();
            if (stored.size() <= name.size() || !stored.starts_with(name) ||
                before.size() <= rest || !before.ends_with(stored.substr(name.size()))) {
                continue;
            }
            const std::string earlierName = before.substr(0, before.size() - rest);
            if (!IsSafeFileName(earlierName)) break;
            step.earlierTarget = FolderOf(step.target) + earlierName;
            earlierFolders[step.target + kPathSeparator] = step.earlierTarget + kPathSeparator;
            break;
        }
    }
    const std::map<std::string, std::string> earlier(spellings.begin(), spellings.end());
    for (Step& step : steps_) {
        if (step.kind != Step::Kind::File) continue;
        const auto name = earlier.find(step.entry);
        const auto folder = earlierFolders.find(FolderOf(step.target));
        if (name == earlier.end() && folder == earlierFolders.end()) continue;
        step.earlierTarget =
            (folder == earlierFolders.end() ? FolderOf(step.target) : folder->second) +
            (name == earlier.end() ? step.entry : name->second);
    }
}

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

    // First every file into a flushed temporary file beside its target; nothing is replaced
    // yet, so a stop or a failure up to here leaves the game folders as they were.
    struct Pending {
        std::vector<const Step*> steps;  // several when stored names differ only in case
        std::unique_ptr<FileReplacement> file;
    };
    std::vector<Pending> pending;
    // Targets that differ only in letter case are one file on the game's own file system, and
    // the case-blind lookup gives them the same entry: it is written once.
    std::map<std::string, std::size_t> pendingByTarget;
    std::set<std::string> unusableFolders;
    std::vector<std::string> createdFolders;
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
            if (created) createdFolders.push_back(step.target);
            outcome.Merge(made);
        } else if (step.kind == Step::Kind::File) {
            if (unusableFolders.count(step.packageFolder) != 0) {
                outcome.Add(step.target, "its package folder could not be used");
                continue;
            }
            const std::string key = FoldCase(step.target);
            if (const auto same = pendingByTarget.find(key); same != pendingByTarget.end()) {
                pending[same->second].steps.push_back(&step);
                continue;
            }
            auto file = std::make_unique<FileReplacement>(fileSystem, step.target);
            file->DeferSync();
            if (progress != nullptr) progress->StartFile(step.entry);
            Outcome written = WriteEntry(archive, step.entry, *file, progress);
            if (progress != nullptr) progress->FinishFile();
            if (!written.Ok()) {
                outcome.Merge(written);
                continue;
            }
            pendingByTarget.emplace(key, pending.size());
            pending.push_back({{&step}, std::move(file)});
        }
    }
    // What the renames would replace of the player's is kept first; a file that cannot be kept
    // is not replaced.
    if (backup != nullptr && !stopping()) {
        if (progress != nullptr) progress->StartBackingUp(static_cast<int>(pending.size()));
        backup->DeferDurability();
        std::erase_if(pending, [&](const Pending& item) {
            if (progress != nullptr) progress->StartFile(item.file->Target());
            const FileFingerprint bytes = PackageBytes(archive, item.steps.front()->entry);
            const Outcome kept = backup->Keep(item.file->Target(), bytes, bytes);
            if (progress != nullptr) progress->FinishFile();
            outcome.Merge(kept);
            return !kept.Ok();
        });
        // Every copy is on the disk before the first original changes, with one wait for it.
        if (Outcome durable = backup->MakeDurable(); !durable.Ok()) {
            outcome.Merge(durable);
            pending.clear();
        }
    }
    if (stopping()) {
        outcome = Outcome::Failed(
            "the install", StopRequested() ? "stopped by a signal before any file was replaced"
                                           : "cancelled before any file was replaced");
        pending.clear();
    }

    // The written bytes reach the disk, once per file system, before any rename can make them
    // a target's; then the renames, and one sync of each folder that received a file.
    std::vector<std::string> writtenFolders;
    for (const Pending& item : pending) writtenFolders.push_back(FolderOf(item.file->Target()));
    if (Outcome synced = fileSystem.SyncFileSystemsOf(writtenFolders); !synced.Ok()) {
        outcome.Merge(synced);
        pending.clear();
    }
    std::set<std::string> changedFolders;
    if (!pending.empty()) PastPointOfNoReturn();
    for (Pending& item : pending) {
        const Outcome committed = item.file->Commit();
        outcome.Merge(committed);
        if (!committed.Ok()) continue;
        changedFolders.insert(FolderOf(item.file->Target()));
        for (const Step* step : item.steps) {
            if (step->counted) fileRefs.AddFileRef(step->target);
        }
    }
    for (const std::string& folder : changedFolders) outcome.Merge(fileSystem.SyncFolder(folder));
    // A folder made for files of which none arrived goes again.
    for (const std::string& folder : createdFolders) {
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

}  // namespace wendmoor
