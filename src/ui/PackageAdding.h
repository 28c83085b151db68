#pragma once

#include <functional>
#include <string>
#include <vector>

#include "packages/PackageAdder.h"

namespace wendmoor {

class FileSystem;
struct GameDescription;
struct GamePaths;

// What adding several files did: whether any was copied, and the message for the player.
struct AddReport {
    bool added = false;
    std::string message;  // the files not added, with their reasons; empty when none
};

// Adds each file to the game's missions folder (AddPackageFile), from any thread; `adding`
// hears of each file before it is copied.
AddReport AddPackages(FileSystem& fileSystem, const GameDescription& game, const GamePaths& paths,
                      const std::vector<std::string>& files, const KeepBothQuestion& keepBoth,
                      const std::function<void(const std::string&)>& adding);

// The local files among dropped URLs ("file:///path", percent-encoded), as the bytes of their
// paths, so a name that is no valid text arrives unchanged.
std::vector<std::string> LocalFilesOfUrls(const std::vector<std::string>& urls);

}  // namespace wendmoor
