#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "backups/BackupManifest.h"
#include "platform/AppendFile.h"
#include "platform/FileSystem.h"
#include "platform/Outcome.h"
#include "platform/ReadOnlyFile.h"

namespace wendmoor {

// The backup store keeps what the player had wherever a command replaces or deletes a file
// whose bytes differ from the package's: nothing the player had is gone for good. It lies
// outside every game folder (see DefaultBackupStoreFolder), so no scan ever sees it:
//
//   STORE/caesar3-20240501-142310-Rome.zip/      one folder per command: game, time, package
//   STORE/caesar3-20240501-142310-Rome.zip/manifest
//   STORE/caesar3-20240501-142310-Rome.zip/files/home/alex/games/Caesar3/Rome.sav
//
// Each kept file lies under its full original path (without its root), so the player finds
// it by hand as well; the manifest (see BackupManifest.h) is what a restore goes by. Nothing
// in the store is ever deleted by Wendmoor unless the player asks for it.

// What lies at a path: nothing (nullopt), or a readable regular file with these bytes. Fails
// when something lies there that cannot be read as a file.
Outcome FingerprintFile(const std::string& path, std::optional<FileFingerprint>& fingerprint);

// How backups name the game: "caesar3", "pharao", "zeus", "emperor"; empty for no game.
std::string BackupGameKey(int game);

// The files one command kept, and where.
struct KeptFiles {
    std::string folder;              // the backup's folder; empty while nothing is kept
    std::vector<std::string> files;  // the original paths, in the order they were kept
};

// The backup of one command. Its folder is made with the first file that needs keeping, so a
// command that replaces nothing of the player's leaves no trace in the store.
class CommandBackup {
  public:
    // `store` is the store's folder (ending with the separator; it is created when missing).
    CommandBackup(std::string store, std::string game, std::string package, std::string command);
    // Closes without a word of what failed: call Close().
    ~CommandBackup();
    CommandBackup(const CommandBackup&) = delete;
    CommandBackup& operator=(const CommandBackup&) = delete;

    // To be called before the file at `path` (as it lies on disk) is replaced or deleted. Keeps
    // a copy unless nothing lies there or the file already holds `unlessEqual`; `leftBehind` is
    // what the command leaves at the path (nullopt: nothing). The copy and its manifest line
    // are on the disk when this returns without failures; otherwise the caller must leave the
    // file as it is.
    Outcome Keep(const std::string& path, const FileFingerprint& unlessEqual,
                 const std::optional<FileFingerprint>& leftBehind);

    const KeptFiles& Kept() const { return kept_; }

    // For a command that keeps many files before it changes any: from now on Keep() only
    // writes, and MakeDurable() puts every copy and manifest line on the disk at once. The
    // command must call it, and see it succeed, before it changes an original.
    void DeferDurability() { deferDurability_ = true; }
    Outcome MakeDurable();

    // Ends the backup when the command is done: a backup into which not one file could be
    // copied goes again, and the mark that it is in writing (see SweepBackupStore) goes.
    Outcome Close();

  private:
    Outcome Begin();
    Outcome Copy(const ReadOnlyFile& source, const std::optional<FileFingerprint>& left);
    std::string StoredPathFor(const std::string& original);
    Outcome MakeFoldersFor(const std::string& storedPath);

    BackupInfo info_;
    std::string store_;
    FileSystem fileSystem_;
    AppendFile manifest_;
    std::string writingMark_;  // the mark's path while it lies in the backup's folder
    bool swept_ = false;
    bool deferDurability_ = false;
    std::vector<std::string> unsyncedCopies_;  // folders of copies whose bytes may not be durable
    Outcome sweepOutcome_;  // what the sweep of the store found, reported by Close()
    KeptFiles kept_;
    std::set<std::string> usedStoredPaths_;  // case-folded, as the store may be case-blind too
    std::set<std::string> unsyncedFolders_;  // folders whose new entries are not yet durable
};

// The backups of a game, newest first. Folders without a readable manifest are left out.
std::vector<BackupInfo> ListBackups(const std::string& store, const std::string& game);

// One backup of the game by its name; fails when there is none of that name.
Outcome FindBackup(const std::string& store, const std::string& game, const std::string& name,
                   BackupInfo& backup);

// What commands that were killed left in the store: backups of not one file, temporary files
// inside backups and half-removed backups. A backup in writing holds a mark named as our
// temporary files are (see TemporaryName.h); only what a process that runs no more made is
// touched, so the store is swept without the lock. Done by every command that writes there.
Outcome SweepBackupStore(const std::string& store);

// Deletes one backup of the game with everything in it.
Outcome RemoveBackup(const std::string& store, const std::string& game, const std::string& name);

}  // namespace wendmoor
