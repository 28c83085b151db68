#pragma once

#include <functional>
#include <string>

#include "backups/BackupRestore.h"
#include "backups/BackupStore.h"
#include "games/ContentLines.h"
#include "packages/FileRefCounts.h"
#include "packages/PackageCommandContext.h"
#include "platform/Outcome.h"
#include "platform/PackageLock.h"

namespace wendmoor {

struct GamePaths;
struct GameDescription;
class FileSystem;
class CommandProgress;

// The state and flow the window and the command-line tool share: the selected game, its two
// package lists, the content lines and the reference counts, all rebuilt from the disk by
// every selection. The lists are kept in the order the user sees (ListLess).
//
// Another Wendmoor process may run commands on the same folders at any time. A refresh reads
// the folders under the shared PackageLock, so it never sees a half-applied command; a command
// holds the exclusive lock from a scan of its own to its end (see RunPackageCommand).
class PackageSession {
  public:
    // `askForFolders` runs when a game's required folders are incomplete; the window opens its
    // options dialog there. It may change `paths`. `keepWaiting` decides how long to wait for
    // another process's command (empty: as long as it takes).
    PackageSession(GamePaths& paths, FileSystem& fileSystem, std::function<void()> askForFolders,
                   PackageLock::KeepWaiting keepWaiting = {});

    int CurrentGame() const { return currentGame_; }
    const PackageLists& Lists() const { return lists_; }
    const ContentLines& Content() const { return content_; }
    const FileRefCounts& FileRefs() const { return fileRefs_; }
    // What kept the last refresh from reading the game's packages (the missions folder cannot
    // be read, another command holds the folders); it also stands as the content line.
    const Outcome& ScanOutcome() const { return scanOutcome_; }

    // Empties the lists and the counts, asks for folders once when one of the game's required
    // folders is empty, then scans the game, or leaves its message (or what keeps its folders
    // from being used, see FolderProblems) as the content lines.
    // True when the game is selected.
    bool SelectGame(int game);

    void ClearContent() { content_.clear(); }

    // The content lines of a package of the current game; empty when it is no package.
    void ShowPackageContent(const std::string& packageName);

    // Installs or deinstalls a package of the current game and selects the game anew; returns
    // what failed, entry by entry. Under the exclusive lock it scans first and acts only when
    // the package is still listed (a deinstall: still installed, or available with files left
    // by a deinstall that was cut off), as the lists on screen may be older than what another
    // process has done since.
    // The name is taken by value: the scan replaces the lists a caller may have taken it from.
    // `progress` may be read and cancelled from another thread while the command runs there.
    Outcome RunPackageCommand(std::string packageName, bool install,
                              CommandProgress* progress = nullptr);

    // The other installed packages that hold a shared file (a map) which installing this one
    // would replace with other bytes, in list order: what the player should hear of before the
    // install. Read from the lists and counts of the last scan.
    std::vector<std::string> PackagesLosingSharedFiles(const std::string& packageName) const;

    // Why the last scan could not read the package; Ok when it could or found no such file.
    Outcome WhyUnreadable(const std::string& packageName) const;
    // The archive of a listed package: the missions folder followed by the exact file name.
    std::string ArchivePathOf(const std::string& packageName) const;

    // The backup store (see BackupStore.h): DefaultBackupStoreFolder() unless set.
    const std::string& BackupStoreFolder() const { return backupStore_; }
    void SetBackupStoreFolder(std::string folder) { backupStore_ = std::move(folder); }
    // What the last package command or restore kept of the player's files.
    const KeptFiles& Kept() const { return kept_; }
    // Puts the files of one backup of the current game back (see RestoreBackup) under the
    // exclusive lock, then selects the game anew.
    RestoreResult RestoreBackup(const std::string& name, bool force);

  private:
    // Lists, counts and content anew from the disk; the caller holds the lock.
    void Scan(int game);
    // Whether files of an available package lie in place, left by a deinstall cut off.
    bool HasRemains(const GameDescription& game, const std::string& packageName) const;

    GamePaths& paths_;
    FileSystem& fileSystem_;
    std::function<void()> askForFolders_;
    PackageLock::KeepWaiting keepWaiting_;
    FileRefCounts fileRefs_;
    int currentGame_ = 0;
    PackageLists lists_;
    ContentLines content_;
    Outcome scanOutcome_;
    std::string backupStore_;
    KeptFiles kept_;
};

}  // namespace wendmoor
