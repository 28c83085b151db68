#include "backups/BackupStore.h"
#include "archive/CrcCopy.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <vector>

#include "games/Games.h"
#include "platform/CaseFold.h"
#include "platform/FolderChain.h"
#include "platform/Path.h"
#include "platform/StopRequest.h"
#include "platform/TemporaryName.h"
#include "platform/WholeFile.h"

namespace wendmoor {

// Backups hold copies of the player's saves and maps: only the player may read them.
constexpr FileSystem::FolderAccess kOwnerOnly = FileSystem::FolderAccess::kOwnerOnly;

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::size_t kMostPackageNameBytes = 60;
constexpr const char* kFilesFolder = "files";

// Reads the file to its end, handing each chunk to `use` (which may refuse it) and summing the
// CRC-32 of the bytes.
template <typename Use>
Outcome ReadAll(const ReadOnlyFile& file, FileFingerprint& fingerprint, Use use) {
    std::vector<unsigned char> buffer(kChunkSize);
    CopiedBytes copied;
    const Outcome outcome = CopyWithCrc(
        file.Path(), buffer,
        [&](void* bytes, std::size_t size, std::size_t& got) {
            return file.ReadAt(copied.size, bytes, size, got);
        },
        use, copied);
    fingerprint = {copied.size, copied.crc32};
    return outcome;
}

Outcome ReadFingerprint(const ReadOnlyFile& file, FileFingerprint& fingerprint) {
    return ReadAll(file, fingerprint, [](const void*, std::size_t) { return Outcome(); });
}

bool IsBackupNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-' || c == '+';
}

// Backup names are made only of these bytes, so one can be typed on any command line, and
// never start with ".", which marks a backup being removed.
bool IsBackupName(const std::string& name) {
    return !name.empty() && name.front() != '.' &&
           std::all_of(name.begin(), name.end(), IsBackupNameByte);
}

// The package name as a part of a folder name: other bytes become "_".
std::string SafeNamePart(const std::string& text) {
    std::string part = text.substr(0, kMostPackageNameBytes);
    for (char& c : part) {
        if (!IsBackupNameByte(c)) c = '_';
    }
    return part;
}

std::string LocalTimeText(std::int64_t nanoseconds, const char* format) {
    const std::time_t seconds = static_cast<std::time_t>(nanoseconds / 1000000000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[64];
    return std::strftime(text, sizeof text, format, &local) == 0 ? std::string() : text;
}

std::string DisplayTime(std::int64_t nanoseconds) {
    return LocalTimeText(nanoseconds, "%Y-%m-%d %H:%M:%S");
}

// The entries of a folder of the store; a folder that is not there holds none, and is no
// failure: a sweep or a removal has nothing to do there.
Outcome ListIfThere(const FileSystem& fileSystem, const std::string& folder,
                    std::vector<FileSystem::FolderEntry>& entries) {
    Outcome listed = fileSystem.ListFolder(folder, entries);
    return listed.Ok() || fileSystem.FolderExists(folder) ? listed : Outcome();
}

// Removes a folder of this store with everything in it. A link inside is removed itself, never
// followed, so nothing outside the folder is touched.
Outcome RemoveTree(FileSystem& fileSystem, std::string folder) {
    if (!folder.empty() && folder.back() == kPathSeparator) folder.pop_back();
    std::vector<FileSystem::FolderEntry> entries;
    if (Outcome listed = ListIfThere(fileSystem, folder, entries); !listed.Ok()) return listed;
    Outcome outcome;
    for (const FileSystem::FolderEntry& entry : entries) {
        const std::string path = folder + kPathSeparator + entry.name;
        outcome.Merge(entry.isFolder && !fileSystem.IsSymbolicLink(path)
                          ? RemoveTree(fileSystem, path)
                          : fileSystem.DeleteFile(path));
    }
    outcome.Merge(fileSystem.RemoveFolder(folder));
    if (outcome.Ok() && fileSystem.FolderExists(folder))
        outcome.Add(folder, "could not be removed");
    return outcome;
}

// The temporary files that copies cut off by a kill left anywhere below the folder.
Outcome RemoveLeftTemporaryFiles(FileSystem& fileSystem, const std::string& folder) {
    std::vector<FileSystem::FolderEntry> entries;
    if (Outcome listed = ListIfThere(fileSystem, folder, entries); !listed.Ok()) return listed;
    Outcome outcome;
    for (const FileSystem::FolderEntry& entry : entries) {
        const std::string path = folder + kPathSeparator + entry.name;
        if (entry.isFolder) {
            if (!fileSystem.IsSymbolicLink(path)) {
                outcome.Merge(RemoveLeftTemporaryFiles(fileSystem, path));
            }
        } else if (IsLeftByEndedProcess(entry.name)) {
            outcome.Merge(fileSystem.DeleteFile(path));
        }
    }
    return outcome;
}

// One backup folder (without its separator) after a kill. Its writing mark names the process
// that wrote it; while that process runs, the backup is left alone. A backup of not one file
// goes; one of files keeps them all, only the temporary files of its copies go. A manifest
// that is there but cannot be read leaves the backup as it is: it may hold the player's files.
Outcome SweepBackup(FileSystem& fileSystem, const std::string& folder) {
    std::vector<FileSystem::FolderEntry> entries;
    if (Outcome listed = fileSystem.ListFolder(folder, entries); !listed.Ok()) return listed;
    std::vector<std::string> marks;
    for (const FileSystem::FolderEntry& entry : entries) {
        if (entry.isFolder || !entry.name.starts_with(kTemporaryPrefix)) continue;
        if (!IsLeftByEndedProcess(entry.name)) return {};
        marks.push_back(folder + kPathSeparator + entry.name);
    }
    std::string text;
    const WholeFileRead read = ReadWholeFile(folder + kPathSeparator + kManifestName, text);
    const std::optional<BackupInfo> backup =
        read == WholeFileRead::kRead ? ParseManifest(text) : std::nullopt;
    if (read == WholeFileRead::kFailed || (read == WholeFileRead::kRead && !backup)) return {};
    if (backup && !backup->files.empty()) {
        if (marks.empty()) return {};
        Outcome outcome =
            RemoveLeftTemporaryFiles(fileSystem, folder + kPathSeparator + kFilesFolder);
        if (!outcome.Ok()) return outcome;
        for (const std::string& mark : marks) outcome.Merge(fileSystem.DeleteFile(mark));
        return outcome;
    }
    // Without a mark: left by an earlier version, unless it is being begun at this moment.
    if (marks.empty() && (!backup || backup->createdNanoseconds >= ProcessStartNanoseconds())) {
        return {};
    }
    return RemoveTree(fileSystem, folder);
}

Outcome Unkept(const std::string& path, const Outcome& why) {
    std::string reason = "left as it was, as it could not be backed up";
    for (const std::string& line : why.Lines()) reason += " (" + line + ")";
    return Outcome::Failed(path, reason);
}

}  // namespace

Outcome FingerprintFile(const std::string& path, std::optional<FileFingerprint>& fingerprint) {
    fingerprint.reset();
    ReadOnlyFile file;
    if (Outcome opened = file.Open(path); !opened.Ok()) {
        return file.LastFailure() == ReadOnlyFile::Failure::Missing ? Outcome() : opened;
    }
    FileFingerprint read;
    if (Outcome outcome = ReadFingerprint(file, read); !outcome.Ok()) return outcome;
    fingerprint = read;
    return {};
}

std::string BackupGameKey(int game) {
    switch (game) {
        case kCaesar3:
            return "caesar3";
        case kPharao:
            return "pharao";
        case kZeus:
            return "zeus";
        case kEmperor:
            return "emperor";
        default:
            return {};
    }
}

CommandBackup::CommandBackup(std::string store, std::string game, std::string package,
                             std::string command)
    : store_(std::move(store)) {
    info_.game = std::move(game);
    info_.package = std::move(package);
    info_.command = std::move(command);
}

CommandBackup::~CommandBackup() {
    (void)Close();  // the command reports Close() itself; this is for early returns
}

Outcome CommandBackup::Close() {
    manifest_.Close();
    Outcome outcome = std::move(sweepOutcome_);
    sweepOutcome_ = {};
    if (info_.folder.empty()) return outcome;
    fileSystem_.ForgetListings();  // the store's folders are also written around it
    // A backup into which not one file could be copied is of no use.
    if (kept_.files.empty()) {
        outcome.Merge(RemoveTree(fileSystem_, info_.folder));
    } else if (!writingMark_.empty()) {
        outcome.Merge(fileSystem_.DeleteFile(writingMark_));
    }
    writingMark_.clear();
    info_.folder.clear();
    return outcome;
}

Outcome CommandBackup::Keep(const std::string& path, const FileFingerprint& unlessEqual,
                            const std::optional<FileFingerprint>& leftBehind) {
    ReadOnlyFile file;
    if (Outcome opened = file.Open(path); !opened.Ok()) {
        switch (file.LastFailure()) {
            case ReadOnlyFile::Failure::Missing:
                return {};
            // Only a regular file has bytes to keep; what else lies there the command refuses
            // itself.
            case ReadOnlyFile::Failure::NotAFile:
                return {};
            default:
                return Unkept(path, opened);
        }
    }
    // The size decides most cases; only a file of the same size is read for its CRC.
    if (file.Size() == unlessEqual.size) {
        FileFingerprint current;
        if (Outcome read = ReadFingerprint(file, current); !read.Ok()) return Unkept(path, read);
        if (current == unlessEqual) return {};
    }
    if (Outcome copied = Copy(file, leftBehind); !copied.Ok()) {
        return Unkept(path, copied);
    }
    return {};
}

Outcome CommandBackup::Begin() {
    if (manifest_.IsOpen()) return {};
    if (store_.empty()) {
        return Outcome::Failed("the backup store",
                               "has no place: neither XDG_DATA_HOME nor HOME is set");
    }
    if (Outcome made = CreateFolderChain(fileSystem_, {}, store_, &unsyncedFolders_, kOwnerOnly);
        !made.Ok())
        return made;
    if (!swept_) {
        swept_ = true;
        sweepOutcome_ = SweepBackupStore(store_);
        fileSystem_.ForgetListings();
    }

    info_.createdNanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
    info_.time = DisplayTime(info_.createdNanoseconds);
    const std::string base = info_.game + '-' +
                             LocalTimeText(info_.createdNanoseconds, "%Y%m%d-%H%M%S") + '-' +
                             SafeNamePart(info_.package);
    for (int counter = 1;; ++counter) {
        info_.name = counter == 1 ? base : base + '-' + std::to_string(counter);
        bool created = false;
        if (Outcome made = fileSystem_.CreateFolder(store_ + info_.name, &created, kOwnerOnly);
            !made.Ok()) {
            return made;
        }
        if (created) break;
        if (counter == 1000) return Outcome::Failed(store_ + info_.name, "exists already");
    }
    const std::string folder = store_ + info_.name + kPathSeparator;
    // The mark comes before the manifest, so a sweep never takes a backup in writing for one a
    // killed command left.
    const std::string mark = folder + NewTemporaryFileName();
    AppendFile marking;
    Outcome written = marking.Create(mark);
    marking.Close();
    if (written.Ok()) written = manifest_.Create(folder + kManifestName);
    if (written.Ok()) written = manifest_.Append(ManifestHeader(info_));
    if (!written.Ok()) {
        manifest_.Close();
        fileSystem_.ForgetListings();
        written.Merge(RemoveTree(fileSystem_, folder));
        return written;
    }
    writingMark_ = mark;
    info_.folder = folder;
    unsyncedFolders_.insert(store_);
    unsyncedFolders_.insert(folder);
    return {};
}

std::string CommandBackup::StoredPathFor(const std::string& original) {
    std::string stored = kFilesFolder;
    std::size_t start = 0;
    while (start <= original.size()) {
        std::size_t end = original.find(kPathSeparator, start);
        if (end == std::string::npos) end = original.size();
        std::string part = original.substr(start, end - start);
        start = end + 1;
#ifdef _WIN32
        std::erase(part, ':');  // "C:" becomes "C"
#endif
        if (part.empty()) continue;
        if (part == "." || part == "..") part = "_";
        stored += kPathSeparator + part;
    }
    std::string unique = stored;
    for (int counter = 2; !usedStoredPaths_.insert(FoldCase(unique)).second; ++counter) {
        unique = stored + '~' + std::to_string(counter);
    }
    return unique;
}

Outcome CommandBackup::Copy(const ReadOnlyFile& source,
                            const std::optional<FileFingerprint>& leftBehind) {
    const std::string& path = source.Path();
    if (Outcome begun = Begin(); !begun.Ok()) return begun;
    BackupFile file{path, StoredPathFor(path), {}, leftBehind};
    const std::string target = info_.folder + file.stored;
    if (Outcome made = CreateFolderChain(fileSystem_, info_.folder, FolderOf(target),
                                         &unsyncedFolders_, kOwnerOnly);
        !made.Ok()) {
        return made;
    }
    FileReplacement copy(fileSystem_, target);
    if (deferDurability_) copy.DeferSync();
    if (!copy.IsOpen()) return copy.OpenOutcome();
    Outcome read = ReadAll(source, file.bytes, [&](const void* data, std::size_t size) {
        return copy.Write(data, size) ? Outcome() : copy.Finish();
    });
    if (!read.Ok()) return read;
    if (Outcome committed = copy.Commit(); !committed.Ok()) return committed;
    unsyncedFolders_.insert(FolderOf(target));
    if (deferDurability_) unsyncedCopies_.push_back(FolderOf(target));
    if (Outcome noted = manifest_.Append(ManifestFileLine(file), false); !noted.Ok()) {
        return noted;
    }
    // The copy, its folders and its manifest line reach the disk before the original changes.
    if (!deferDurability_) {
        if (Outcome durable = MakeDurable(); !durable.Ok()) return durable;
    }
    info_.files.push_back(file);
    kept_.folder = info_.folder;
    kept_.files.push_back(path);
    return {};
}

Outcome SweepBackupStore(const std::string& store) {
    if (store.empty()) return {};
    FileSystem fileSystem;
    std::vector<FileSystem::FolderEntry> entries;
    if (Outcome listed = ListIfThere(fileSystem, store, entries); !listed.Ok()) return listed;
    Outcome outcome;
    for (const FileSystem::FolderEntry& entry : entries) {
        if (!entry.isFolder) continue;
        const std::string folder = store + entry.name;
        if (IsLeftByEndedProcess(entry.name)) {
            outcome.Merge(RemoveTree(fileSystem, folder));  // a removal that was cut off
        } else if (IsBackupName(entry.name)) {
            outcome.Merge(SweepBackup(fileSystem, folder));
        }
    }
    return outcome;
}

Outcome CommandBackup::MakeDurable() {
    if (!manifest_.IsOpen()) return {};
    if (Outcome synced = fileSystem_.SyncFileSystemsOf(unsyncedCopies_); !synced.Ok()) {
        return synced;
    }
    unsyncedCopies_.clear();
    for (const std::string& folder : unsyncedFolders_) {
        if (Outcome synced = fileSystem_.SyncFolder(folder); !synced.Ok()) return synced;
    }
    unsyncedFolders_.clear();
    return manifest_.Sync();
}

std::vector<BackupInfo> ListBackups(const std::string& store, const std::string& game) {
    std::vector<BackupInfo> backups;
    std::vector<FileSystem::FolderEntry> entries;
    if (store.empty() || !FileSystem().ListFolder(store, entries).Ok()) return backups;
    for (const FileSystem::FolderEntry& entry : entries) {
        BackupInfo backup;
        if (entry.isFolder && FindBackup(store, game, entry.name, backup).Ok()) {
            backups.push_back(std::move(backup));
        }
    }
    std::sort(backups.begin(), backups.end(), [](const BackupInfo& a, const BackupInfo& b) {
        if (a.createdNanoseconds != b.createdNanoseconds) {
            return a.createdNanoseconds > b.createdNanoseconds;
        }
        return a.name > b.name;
    });
    return backups;
}

Outcome FindBackup(const std::string& store, const std::string& game, const std::string& name,
                   BackupInfo& backup) {
    const Outcome none = Outcome::Failed(name, "is no backup of " + game);
    if (!IsBackupName(name)) return none;
    const std::string folder = store + name + kPathSeparator;
    std::string text;
    if (ReadWholeFile(folder + kManifestName, text) != WholeFileRead::kRead) return none;
    std::optional<BackupInfo> parsed = ParseManifest(text);
    if (!parsed || parsed->game != game) return none;
    backup = std::move(*parsed);
    backup.name = name;
    backup.folder = folder;
    return {};
}

Outcome RemoveBackup(const std::string& store, const std::string& game, const std::string& name) {
    BackupInfo backup;
    if (Outcome found = FindBackup(store, game, name, backup); !found.Ok()) return found;
    if (Outcome swept = SweepBackupStore(store); !swept.Ok()) return swept;
    // Out of the list at once, by one rename; then the files go.
    FileSystem fileSystem;
    // Named as our temporary files are: should this process be killed, a sweep finishes it.
    const std::string doomed = store + NewTemporaryFileName();
    if (Outcome renamed = fileSystem.RenameFolder(store + name, doomed); !renamed.Ok()) {
        return renamed;
    }
    if (Outcome removed = RemoveTree(fileSystem, doomed); !removed.Ok()) return removed;
    return fileSystem.SyncFolder(store);
}

}  // namespace wendmoor
