#pragma once

#include <string>

#include "TempDir.h"
#include "settings/GamePaths.h"

namespace wendmoor::testing {

// The folders of all four games below `under` in `dir`, laid out as the games keep them: a
// missions folder each, the game folders with "Maps", "Adventures", "Campaigns" and "Cities",
// and a save-game folder inside each game folder. Returns them as configured folders.
GamePaths MakeGameFolders(const TempDir& dir, const std::string& under = {});

}  // namespace wendmoor::testing
