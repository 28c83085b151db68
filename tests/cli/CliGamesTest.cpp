// Every command's whole flow through the built tool, once for each game: where each file of a
// typical package goes, what the lists, the content and the counts say, and that the deinstall
// leaves the game folder as it was. The games' rules for unusual names are tests/games'.
#include "CliFixture.h"
#include "platform/CaseFold.h"

namespace wendmoor::testing {
namespace {

struct GameCase {
    const char* cliName;
    std::string GamePaths::*missions;
    std::string GamePaths::*gameFolder;
    std::string foreign;                    // a file of the game's own in its folder, which stays
    std::vector<std::string> entries;       // "Maps/" is a folder, any other a file
    std::vector<std::string> contentLines;  // grouped by marker, whatever the archive's order
    std::string installedTree;              // the game folder after the install
    std::vector<std::string> countedFiles;  // reference-counted, below the game folder
};

const GameCase kGameCases[] = {
    {"caesar3",
     &GamePaths::caesar3_missions,
     &GamePaths::caesar3_path,
     "c3.exe",
     // The map's name in code page 437, as packing tools on Windows store it.
     {"readme.txt", "Scenarios/", "Scenarios/\x8EgyptenLand.MAP", "Rome.sav"},
     {"M ÄgyptenLand.map", "S Rome.sav", "Z readme.txt"},
     "Rome.sav\nc3.exe\nÄgyptenLand.map\n",
     {"ÄgyptenLand.map"}},
    // A map beside Pharao's program is none of the package's: it does not look installed.
    {"pharao",
     &GamePaths::pharao_missions,
     &GamePaths::pharao_path,
     "Delta.map",
     {"maps/Delta.MAP", "Delta.sav"},
     {"M Delta.map", "S Delta.sav"},
     "Delta.map\nMaps/\nMaps/Delta.map\nSave/\nSave/Delta.sav\n",
     {"Maps/Delta.map"}},
    {"zeus",
     &GamePaths::zeus_missions,
     &GamePaths::zeus_path,
     "Zeus.exe",
     {"Adventures/Troy/Troy.pak", "Adventures/Troy/Troy.txt", "Arena.map", "Troy.set", "intro.txt",
      "save1.SAV", "readme.doc"},
     {"A Troy.pak", "A Troy.txt", "E Arena.map", "E Troy.set", "S save1.sav", "Z readme.doc"},
     "Adventures/\nAdventures/Troy/\nAdventures/Troy/Arena.map\nAdventures/Troy/Troy.pak\n"
     "Adventures/Troy/Troy.set\nAdventures/Troy/Troy.txt\nSave/\nSave/save1.sav\nZeus.exe\n",
     {}},
    {"emperor",
     &GamePaths::emperor_missions,
     &GamePaths::emperor_path,
     "Emperor.exe",
     {"Rome.pak", "Rome.set", "Campaign/Rome1.map", "Campaign/Rome2.MAP", "Alexandria.map",
      "start.sav", "notes.txt"},
     {"C Rome.pak", "E Rome.set", "E Rome1.map", "E Rome2.map", "M Alexandria.map", "S start.sav",
      "Z notes.txt"},
     "Campaigns/\nCampaigns/Rome.pak\nCampaigns/Rome/\nCampaigns/Rome/Rome.set\n"
     "Campaigns/Rome/Rome1.map\nCampaigns/Rome/Rome2.map\nCities/\nCities/Alexandria.map\n"
     "Emperor.exe\nSave/\nSave/start.sav\n",
     {"Cities/Alexandria.map"}},
};

void PrintTo(const GameCase& game, std::ostream* out) {
    *out << game.cliName;
}

class CliGameTest : public CliTest, public ::testing::WithParamInterface<GameCase> {};

TEST_P(CliGameTest, ListShowInstallRefsDeinstall) {
    const GameCase& game = GetParam();
    const std::string folder = paths.*game.gameFolder;
    WriteFileBytes(folder + game.foreign, "the game's own");
    const std::string before = TreeWithBytes(folder);
    const std::string package = "Rome Campaign.zip";
    ZipWriter zip;
    for (const std::string& name : game.entries) {
        name.ends_with('/') ? zip.AddFolder(name) : zip.Add(name, "bytes of " + name);
    }
    AddPackage(paths.*game.missions, package, zip);
    AddPackage(paths.*game.missions, "not a package.zip", ZipWriter().Add("readme.txt", "hi"));
    std::vector<std::string> refs;
    for (const std::string& file : game.countedFiles)
        refs.push_back("1 " + FoldCase(folder + file));

    EXPECT_EQ(Cli({"list", game.cliName}), (ProgramRun{0, "A " + package + "\n", ""}));
    EXPECT_EQ(Cli({"show", game.cliName, package}), (ProgramRun{0, Lines(game.contentLines), ""}));
    EXPECT_EQ(Cli({"install", game.cliName, package}), (ProgramRun{0, "I " + package + "\n", ""}));
    EXPECT_EQ(ListTree(folder), game.installedTree);
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, Lines(refs), ""}));
    EXPECT_EQ(Cli({"deinstall", game.cliName, package}),
              (ProgramRun{0, "A " + package + "\n", ""}));
    EXPECT_EQ(TreeWithBytes(folder), before);
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, "", ""}));
}

INSTANTIATE_TEST_SUITE_P(AllGames, CliGameTest, ::testing::ValuesIn(kGameCases),
                         [](const auto& info) { return std::string(info.param.cliName); });

}  // namespace
}  // namespace wendmoor::testing
