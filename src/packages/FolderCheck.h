#pragma once

#include <string>
#include <vector>

namespace wendmoor {

struct GameDescription;
struct GamePaths;

// What keeps the game's configured folders from being used by a command, one line each, naming
// the settings keys; empty when they can be used. A folder must be an absolute path: the scan
// and the install would otherwise look for it in different places. No folder the game's packages
// write into may be one another configured game writes into (nor lie inside a folder where the
// other game's packages make folders of their own): each game's reference counts know only its
// own packages, so a deinstall would delete a file the other game's installed package needs.
// Looks at the folder names only; the disk is not asked.
std::vector<std::string> FolderProblems(const GameDescription& game, const GamePaths& paths);

}  // namespace wendmoor
