#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendmoor {

// The library folders a Steam client lists in its steamapps/libraryfolders.vdf, in the file's
// order: the "path" values of today's format and the numbered values ("1" "/mnt/games") of the
// older one. Escapes (\\ and \") are undone; anything that is not such a value is passed over,
// and a damaged file gives what could be read before the damage.
std::vector<std::string> ParseLibraryFolders(std::string_view vdf);

// The library list of one Steam installation: the installation itself first, then the folders
// its libraryfolders.vdf names (found without regard to letter case), each with its trailing
// separator. Empty when `steamRoot` is no folder.
std::vector<std::string> SteamLibraryFolders(const std::string& steamRoot);

}  // namespace wendmoor
