#pragma once

#include <string>
#include <vector>

namespace wendmoor {

struct GameDescription;
struct GamePaths;
class FileSystem;

// The folders a command of the game reads or writes, as they lie on disk, for the PackageLock:
// the missions folder, the game folder (with every folder a package installs into) and the
// save-game folder, each where it is configured.
std::vector<std::string> GameFolders(const GameDescription& game, const GamePaths& paths,
                                     const FileSystem& fileSystem);

}  // namespace wendmoor
