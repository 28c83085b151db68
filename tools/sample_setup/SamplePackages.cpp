#include "SamplePackages.h"

namespace wendmoor::sample {

// Each game gets packages that share a file where the game counts references (two Caesar III,
// two Pharao and two Emperor packages hold the same map), one package of each kind the game
// knows, and one package already installed.
const std::vector<SampleGame>& SampleGames() {
    static const std::vector<SampleGame> games = {
        {kCaesar3,
         "Caesar3",
         "c3.exe",
         {},
         &GamePaths::caesar3_missions,
         &GamePaths::caesar3_path,
         nullptr,
         {
             {"Rome Rising.zip",
              {"Rome Rising/Rome.map", "Rome Rising/Rome.sav", "Rome Rising/readme.txt"},
              true},
             {"Rome Revisited.zip", {"Rome.MAP", "Revisited.sav"}},
             {"Carthage.zip",
              {"Scenarios/", "Scenarios/Carthage.map", "Carthage.sav", "readme.txt"}},
             {"Sicily.zip", {"Sicily.map"}},
         }},
        {kPharao,
         "Pharaoh",
         "pharaoh.exe",
         {"Maps"},
         &GamePaths::pharao_missions,
         &GamePaths::pharao_path,
         &GamePaths::pharao_saves,
         {
             {"Delta.zip", {"maps/Delta.MAP", "Delta.sav"}, true},
             {"Nile Valley.zip", {"Nile.map", "Valley.sav"}},
             {"Nile Flood.zip", {"Nile.map", "Flood.sav", "readme.txt"}},
             {"Saves Only.zip", {"Memphis.sav", "Thebes.sav"}},
         }},
        {kZeus,
         "Zeus",
         "zeus.exe",
         {"Adventures"},
         &GamePaths::zeus_missions,
         &GamePaths::zeus_path,
         &GamePaths::zeus_saves,
         {
             {"Troy.zip",
              {"Adventures/Troy/Troy.pak", "Adventures/Troy/Troy.txt", "Adventures/Troy/Arena.map",
               "Adventures/Troy/Troy.set", "Adventures/Troy/intro.txt", "save1.SAV", "readme.doc"}},
             {"Athens.zip", {"Athens.pak", "Athens.txt", "Athens.set", "Athens1.map"}, true},
             {"Olympia Saves.zip", {"Olympia.sav", "Olympia2.sav"}},
         }},
        {kEmperor,
         "Emperor",
         "emperor.exe",
         {"Campaigns", "Cities"},
         &GamePaths::emperor_missions,
         &GamePaths::emperor_path,
         &GamePaths::emperor_saves,
         {
             {"Rome Campaign.zip",
              {"Rome.pak", "Rome.set", "Rome1.map", "Rome2.MAP", "Alexandria.map", "start.sav",
               "notes.txt"}},
             {"Alexandria.zip", {"Alexandria.map", "harbour.sav"}, true},
             {"Silk Road.zip", {"SilkRoad.pak", "Xian.map", "Xian.sav"}},
         }},
    };
    return games;
}

}  // namespace wendmoor::sample
