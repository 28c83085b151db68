#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Outcome.h"

namespace wendmoor {

struct GamePaths;
class FileSystem;
class FileRefCounts;
class CommandProgress;
class CommandBackup;

// What a package command (a scan, an install, a deinstall) of one game works with: the game's
// folders, the file layer, the reference counts and the command's progress and backup. All of
// it belongs to the caller.
struct PackageCommandContext {
    const GamePaths& paths;
    FileSystem& fileSystem;
    FileRefCounts& fileRefs;
    CommandProgress* progress = nullptr;  // told how far a command has come; may cancel it
    // Where a command keeps the player's files that it replaces or deletes; nullptr: nowhere
    // (a scan, which changes nothing).
    CommandBackup* backup = nullptr;
};

// The packages a scan found, each by the exact bytes of its file name in the missions folder.
struct PackageLists {
    std::vector<std::string> installed;
    std::vector<std::string> available;
    // The files of the missions folder that could not be read, each named with the system's
    // reason: neither installed nor available as far as anyone can tell.
    Outcome unreadable;
};

// Whether a list of packages holds the name, byte for byte.
inline bool Contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace wendmoor
