#pragma once

#include <string>
#include <vector>

#include "backups/BackupStore.h"
#include "platform/Outcome.h"

namespace wendmoor {

class FileSystem;
struct GameDescription;
struct GamePaths;

// Where a restore may put a file back, as the game's installs resolve their targets: straight
// into one of `files`, or into a package folder of its own (a Zeus adventure, an Emperor
// campaign) directly inside one of `packageFolderParents`. Each folder ends with the separator.
struct RestoreFolders {
    std::vector<std::string> files;
    std::vector<std::string> packageFolderParents;
};

// Where a restore of the game's backups may put files back: the folders its plans write into,
// as the game table lists them.
RestoreFolders RestoreFoldersOf(const GameDescription& game, const GamePaths& paths);

struct RestoreResult {
    Outcome outcome;
    // Files that differ both from what the backup's command left there and from their kept
    // copy: the player changed them since. Only a forced restore replaces them.
    std::vector<std::string> conflicts;
    bool needsForce = false;  // refused for the conflicts alone: a forced restore would go on
    std::vector<std::string> restored;  // the files put back
    KeptFiles kept;                     // what a forced restore kept before replacing it
};

// Puts every file of one backup back where it was, each atomically: all copies are written
// beside their targets and flushed first, then renamed over them. A file that holds its kept
// bytes already is left alone; a package folder that a deinstall removed is made again (but
// nothing above it). The whole restore is refused, and nothing changed, when a kept copy is
// missing or damaged, or when there are conflicts and `force` is not set; with `force` each
// conflicting file is kept in a new backup of its own before it is replaced. The caller holds
// the exclusive PackageLock.
//
// The manifest is a file anyone with the player's rights may have edited: a file whose
// original path lies outside `folders`, or whose package folder is a symbolic link, refuses
// the whole restore, naming it. Temporary files a killed command left in the folders written
// to go first.
RestoreResult RestoreBackup(const std::string& store, const std::string& game,
                            const std::string& name, bool force, const RestoreFolders& folders,
                            FileSystem& fileSystem);

}  // namespace wendmoor
