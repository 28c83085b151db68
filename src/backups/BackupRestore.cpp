#include "backups/BackupRestore.h"
#include "archive/CrcCopy.h"

#include <zlib.h>

#include <array>
#include <memory>
#include <set>
#include <string_view>

#include "archive/StoredName.h"
#include "games/Games.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/ReadOnlyFile.h"
#include "platform/StopRequest.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

constexpr const char* kConflictReason =
    "changed since the backup was made; a forced restore keeps it in a new backup first";

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

// Whether each part of `path` from `start` on, between `separators`, is a name: no empty
// one, no "." nor "..".
bool PartsAreNames(std::string_view path, std::size_t start, std::string_view separators) {
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(separators, start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

// A stored path from the manifest must stay inside the backup's folder.
bool IsInsideBackup(const std::string& stored) {
    return !stored.empty() && stored.front() != kPathSeparator &&
           PartsAreNames(stored, 0, std::string_view(&kPathSeparator, 1));
}

// Whether each component after the root is a name: no empty one, no "." nor "..".
bool IsPlainAbsolutePath(const std::string& path) {
    if (!IsAbsolutePath(path)) return false;
    const std::size_t start = path.find_first_not_of(kSeparators);
    return start != std::string::npos && PartsAreNames(path, start, kSeparators);
}

bool IsOneOf(const std::string& folder, const std::vector<std::string>& folders,
             const FileSystem& fileSystem) {
    for (const std::string& allowed : folders) {
        if (!allowed.empty() && fileSystem.Resolve(allowed) == folder) return true;
    }
    return false;
}

// A kept file goes back only where an install of the game could have written it.
Outcome CheckRestoreTarget(const std::string& original, const RestoreFolders& folders,
                           const FileSystem& fileSystem) {
    const Outcome outside =
        Outcome::Failed(original, "lies outside the game's folders; nothing was restored");
    if (!IsPlainAbsolutePath(original) || !IsSafeFileName(FileNameOf(original))) return outside;
    const std::string folder = fileSystem.Resolve(FolderOf(original));
    if (IsOneOf(folder, folders.files, fileSystem)) return {};
    const std::string packageFolder = folder.substr(0, folder.size() - 1);
    if (!IsSafeFileName(FileNameOf(packageFolder)) ||
        !IsOneOf(FolderOf(packageFolder), folders.packageFolderParents, fileSystem)) {
        return outside;
    }
    if (fileSystem.IsSymbolicLink(packageFolder)) {
        return Outcome::Failed(original,
                               "its package folder is a symbolic link, which is never written "
                               "through; nothing was restored");
    }
    return {};
}

// Copies the kept file into the replacement, which it finishes; the bytes must still be the
// ones the manifest records.
Outcome CopyKeptFile(const std::string& source, const FileFingerprint& expected,
                     FileReplacement& output) {
    if (!output.IsOpen()) return output.OpenOutcome();
    ReadOnlyFile file;
    if (Outcome opened = file.Open(source); !opened.Ok()) return opened;
    std::vector<unsigned char> buffer(64 * 1024);
    CopiedBytes read;
    const Outcome copiedOutcome = CopyWithCrc(
        output.Target(), buffer,
        [&](void* bytes, std::size_t size, std::size_t& got) {
            return file.ReadAt(read.size, bytes, size, got);
        },
        [&](const unsigned char* bytes, std::size_t size) {
            return output.Write(bytes, size) ? Outcome() : output.Finish();
        },
        read);
    if (!copiedOutcome.Ok()) return copiedOutcome;
    const FileFingerprint copied{read.size, read.crc32};
    if (copied != expected) return Outcome::Failed(source, "the kept copy changed while read");
    return output.Finish();
}

struct RestoreItem {
    const BackupFile* file;
    std::string target;  // the original path as it lies on disk now
    bool conflict = false;
    std::unique_ptr<FileReplacement> replacement;
};

// What lies at each original path now, against the backup: the files to put back. Temporary
// files a killed restore left beside them go first, whether or not anything is put back.
std::vector<RestoreItem> CompareWithDisk(const BackupInfo& backup, const RestoreFolders& folders,
                                         FileSystem& fileSystem, RestoreResult& result) {
    std::vector<RestoreItem> items;
    std::set<std::string> sweptFolders;
    for (const BackupFile& file : backup.files) {
        if (Outcome allowed = CheckRestoreTarget(file.original, folders, fileSystem);
            !allowed.Ok()) {
            result.outcome.Merge(allowed);
            continue;
        }
        const std::string folder = FolderOf(fileSystem.Resolve(file.original));
        if (sweptFolders.insert(folder).second) {
            result.outcome.Merge(fileSystem.RemoveStaleTemporaryFiles(folder));
        }
        const std::string copy = backup.folder + file.stored;
        std::optional<FileFingerprint> kept;
        if (!IsInsideBackup(file.stored)) {
            result.outcome.Add(copy, "lies outside its backup");
            continue;
        }
        if (Outcome read = FingerprintFile(copy, kept); !read.Ok()) {
            result.outcome.Merge(read);
            continue;
        }
        if (kept != file.bytes) {
            result.outcome.Add(copy, "the kept copy is missing or damaged");
            continue;
        }
        std::string target = fileSystem.Resolve(file.original);
        std::optional<FileFingerprint> current;
        if (Outcome read = FingerprintFile(target, current); !read.Ok()) {
            result.outcome.Merge(read);
            continue;
        }
        if (current == file.bytes) continue;  // back already
        const bool conflict = current && current != file.leftBehind;
        if (conflict) result.conflicts.push_back(target);
        items.push_back({&file, std::move(target), conflict, nullptr});
    }
    return items;
}

// Writes each kept copy into a flushed temporary file beside its target, making the folders
// that are gone; stops at the first failure or a signal, leaving the reason in `result`.
void WriteCopiesBesideTargets(std::vector<RestoreItem>& items, const BackupInfo& backup,
                              FileSystem& fileSystem, RestoreResult& result,
                              std::set<std::string>& changedFolders,
                              std::vector<std::string>& createdFolders) {
    for (RestoreItem& item : items) {
        if (StopRequested()) break;
        const std::string folder = FolderOf(item.target);
        if (!fileSystem.FolderExists(folder)) {
            bool created = false;
            if (Outcome made = fileSystem.CreateFolder(folder, &created); !made.Ok()) {
                result.outcome.Merge(made);
                break;
            }
            if (created) createdFolders.push_back(folder);
            changedFolders.insert(FolderOf(folder.substr(0, folder.size() - 1)));
        }
        item.replacement = std::make_unique<FileReplacement>(fileSystem, item.target);
        Outcome written =
            CopyKeptFile(backup.folder + item.file->stored, item.file->bytes, *item.replacement);
        if (!written.Ok()) {
            result.outcome.Merge(written);
            break;
        }
    }
}

// Names the written copies over their targets. What the player changed since is kept first; a
// file that cannot be kept is not replaced.
void PutCopiesInPlace(std::vector<RestoreItem>& items, const std::string& store,
                      const std::string& game, const BackupInfo& backup, FileSystem& fileSystem,
                      RestoreResult& result, std::set<std::string>& changedFolders) {
    CommandBackup keep(store, game, backup.package, "restore");
    for (RestoreItem& item : items) {
        if (!item.conflict) continue;
        if (Outcome kept = keep.Keep(item.target, item.file->bytes, item.file->bytes); !kept.Ok()) {
            result.outcome.Merge(kept);
            item.replacement.reset();
        }
    }
    for (RestoreItem& item : items) {
        if (!item.replacement) continue;
        const Outcome committed = item.replacement->Commit();
        result.outcome.Merge(committed);
        if (!committed.Ok()) continue;
        result.restored.push_back(item.target);
        changedFolders.insert(FolderOf(item.target));
    }
    for (const std::string& folder : changedFolders) {
        result.outcome.Merge(fileSystem.SyncFolder(folder));
    }
    result.kept = keep.Kept();
    result.outcome.Merge(keep.Close());
}

}  // namespace

RestoreResult RestoreBackup(const std::string& store, const std::string& game,
                            const std::string& name, bool force, const RestoreFolders& folders,
                            FileSystem& fileSystem) {
    RestoreResult result;
    BackupInfo backup;
    if (Outcome found = FindBackup(store, game, name, backup); !found.Ok()) {
        result.outcome = found;
        return result;
    }
    const WritingSection section;
    if (Outcome swept = SweepBackupStore(store); !swept.Ok()) {
        result.outcome = swept;
        return result;
    }
    std::vector<RestoreItem> items = CompareWithDisk(backup, folders, fileSystem, result);
    if (!result.outcome.Ok()) return result;
    if (!result.conflicts.empty() && !force) {
        result.needsForce = true;
        for (const std::string& conflict : result.conflicts) {
            result.outcome.Add(conflict, kConflictReason);
        }
        return result;
    }

    // First every copy into a flushed temporary file beside its target; nothing is replaced yet.
    std::set<std::string> changedFolders;
    std::vector<std::string> createdFolders;
    WriteCopiesBesideTargets(items, backup, fileSystem, result, changedFolders, createdFolders);
    if (StopRequested())
        result.outcome.Add(name, "stopped by a signal before any file was put back");
    if (!result.outcome.Ok()) {
        items.clear();  // the temporary files go
        for (const std::string& folder : createdFolders) {
            result.outcome.Merge(fileSystem.RemoveFolder(folder));
        }
        return result;
    }

    PastPointOfNoReturn();
    PutCopiesInPlace(items, store, game, backup, fileSystem, result, changedFolders);
    return result;
}

RestoreFolders RestoreFoldersOf(const GameDescription& game, const GamePaths& paths) {
    RestoreFolders folders;
    for (const WrittenFolder& written : game.writtenFolders) {
        if (written.folder == nullptr) continue;
        const std::string& configured = paths.*written.folder;
        const std::string sub = written.subFolder;
        const std::string folder = sub.empty() ? configured : configured + SubFolder(sub);
        folders.files.push_back(folder);
        if (written.holdsPackageFolders) folders.packageFolderParents.push_back(folder);
    }
    return folders;
}

}  // namespace wendmoor
