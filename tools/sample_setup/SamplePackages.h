#pragma once

#include <string>
#include <vector>

#include "games/Games.h"
#include "settings/GamePaths.h"

namespace wendmoor::sample {

// A mission package of the sample: an archive whose entries each hold a line naming
// themselves. The games never see these files, so their content does not matter.
struct SamplePackage {
    std::string name;                  // the archive's file name in the missions folder
    std::vector<std::string> entries;  // entry names; one ending with "/" is a folder entry
    bool installed = false;            // installed by the sample, so both lists have lines
};

struct SampleGame {
    GameId game;
    std::string folderName;                   // below games/, saves/ and missions/
    std::string programName;                  // the stand-in for the game's program
    std::vector<std::string> gameSubFolders;  // where the game's packages go
    std::string GamePaths::*missions;
    std::string GamePaths::*gameFolder;
    std::string GamePaths::*saves;  // nullptr when the game keeps its saves in its folder
    std::vector<SamplePackage> packages;
};

// The four games of the sample.
const std::vector<SampleGame>& SampleGames();

}  // namespace wendmoor::sample
