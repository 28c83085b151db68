// The whole flow of every command through the built tool, once for each game; where each file
// goes is the session's business (tests/packages, tests/games).
#include "CliFixture.h"
#include "platform/CaseFold.h"

namespace wendmoor::testing {
namespace {

struct GameCase {
    const char* cliName;
    std::string GamePaths::*missions;
    std::vector<std::string> entries;         // "Maps/" is a folder, any other a file
    std::vector<std::string> contentLines;    // in the window's order
    std::vector<std::string> installedFiles;  // below the fixture's root
    std::vector<std::string> countedFiles;    // reference-counted, below the root
};

const GameCase kGameCases[] = {
    {"caesar3",
     &GamePaths::caesar3_missions,
     // The map's name in code page 437, as packing tools on Windows store it.
     {"Scenarios/", "Scenarios/\x8EgyptenLand.MAP", "Rome.sav", "readme.txt"},
     {"M ÄgyptenLand.map", "S Rome.sav", "Z readme.txt"},
     {"Caesar3/ÄgyptenLand.map", "Caesar3/Rome.sav"},
     {"Caesar3/ÄgyptenLand.map"}},
    {"pharao",
     &GamePaths::pharao_missions,
     {"maps/Delta.MAP", "Delta.sav"},
     {"M Delta.map", "S Delta.sav"},
     {"Pharaoh/Maps/Delta.map", "Pharaoh/Save/Delta.sav"},
     {"Pharaoh/Maps/Delta.map"}},
    {"zeus",
     &GamePaths::zeus_missions,
     {"Adventures/Troy/Troy.pak", "Adventures/Troy/Troy.txt", "Arena.map", "save1.SAV"},
     {"A Troy.pak", "A Troy.txt", "E Arena.map", "S save1.sav"},
     {"Zeus/Adventures/Troy/Troy.pak", "Zeus/Adventures/Troy/Arena.map", "Zeus/Save/save1.sav"},
     {}},
    {"emperor",
     &GamePaths::emperor_missions,
     {"Rome.pak", "Rome.set", "Rome1.map", "Rome2.MAP", "Alexandria.map", "start.sav", "notes.txt"},
     {"C Rome.pak", "E Rome.set", "E Rome1.map", "E Rome2.map", "M Alexandria.map", "S start.sav",
      "Z notes.txt"},
     {"Emperor/Campaigns/Rome.pak", "Emperor/Campaigns/Rome/Rome2.map",
      "Emperor/Cities/Alexandria.map", "Emperor/Save/start.sav"},
     {"Emperor/Cities/Alexandria.map"}},
};

void PrintTo(const GameCase& game, std::ostream* out) {
    *out << game.cliName;
}

class CliGameTest : public CliTest, public ::testing::WithParamInterface<GameCase> {};

TEST_P(CliGameTest, ListShowInstallRefsDeinstall) {
    const GameCase& game = GetParam();
    const std::string package = "Rome Campaign.zip";
    ZipWriter zip;
    for (const std::string& name : game.entries) {
        name.ends_with('/') ? zip.AddFolder(name) : zip.Add(name, "bytes of " + name);
    }
    AddPackage(paths.*game.missions, package, zip);
    AddPackage(paths.*game.missions, "not a package.zip", ZipWriter().Add("readme.txt", "hi"));
    std::vector<std::string> refs;
    for (const std::string& file : game.countedFiles) {
        refs.push_back("1 " + FoldCase(root.path() + file));
    }

    EXPECT_EQ(Cli({"list", game.cliName}), (ProgramRun{0, "A " + package + "\n", ""}));
    EXPECT_EQ(Cli({"show", game.cliName, package}), (ProgramRun{0, Lines(game.contentLines), ""}));
    EXPECT_EQ(Cli({"install", game.cliName, package}), (ProgramRun{0, "I " + package + "\n", ""}));
    for (const std::string& file : game.installedFiles) {
        EXPECT_TRUE(ReadFileBytes(root.path() + file).has_value()) << file;
    }
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, Lines(refs), ""}));
    EXPECT_EQ(Cli({"deinstall", game.cliName, package}),
              (ProgramRun{0, "A " + package + "\n", ""}));
    for (const std::string& file : game.installedFiles) {
        EXPECT_FALSE(ReadFileBytes(root.path() + file).has_value()) << file;
    }
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, "", ""}));
}

INSTANTIATE_TEST_SUITE_P(AllGames, CliGameTest, ::testing::ValuesIn(kGameCases),
                         [](const auto& info) { return std::string(info.param.cliName); });

}  // namespace
}  // namespace wendmoor::testing
