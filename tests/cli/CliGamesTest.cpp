// The whole flow of every command through the built tool, for a game that keeps its files in
// its own folder and one that spreads them over several; where each file goes is the
// session's business (tests/packages, tests/games).
#include <functional>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "platform/Path.h"

namespace wendmoor::testing {
namespace {

struct GameCase {
    const char* cliName;
    std::string GamePaths::*missions;
    const char* packageName;
    std::function<ZipWriter()> archive;
    std::vector<std::string> contentLines;    // in the window's order
    std::vector<std::string> installedFiles;  // below the fixture's root
    std::vector<std::string> countedFiles;    // reference-counted, below the root
};

const GameCase kGameCases[] = {
    {"caesar3",
     &GamePaths::caesar3_missions,
     "Rome.zip",
     [] {
         return ZipWriter()
             .AddFolder("Scenarios/")
             .Add("Scenarios/Rome.MAP", "rome map")
             .Add("Rome.sav", "rome save")
             .Add("readme.txt", "hello");
     },
     {"M Rome.map", "S Rome.sav", "Z readme.txt"},
     {"Caesar3/Rome.map", "Caesar3/Rome.sav"},
     {"Caesar3/Rome.map"}},
    {"emperor",
     &GamePaths::emperor_missions,
     "Rome Campaign.zip",
     [] {
         return ZipWriter()
             .Add("Rome.pak", "pak")
             .Add("Rome.set", "set")
             .Add("Rome1.map", "map 1")
             .Add("Rome2.MAP", "map 2")
             .Add("Alexandria.map", "city")
             .Add("start.sav", "save")
             .Add("notes.txt", "notes");
     },
     {"C Rome.pak", "E Rome.set", "E Rome1.map", "E Rome2.map", "M Alexandria.map", "S start.sav",
      "Z notes.txt"},
     {"Emperor/Campaigns/Rome.pak", "Emperor/Campaigns/Rome/Rome.set",
      "Emperor/Campaigns/Rome/Rome1.map", "Emperor/Campaigns/Rome/Rome2.map",
      "Emperor/Cities/Alexandria.map", "Emperor/Save/start.sav"},
     {"Emperor/Cities/Alexandria.map"}},
};

class CliGameTest : public CliTest, public ::testing::WithParamInterface<GameCase> {
  protected:
    std::string RefLines() const {
        std::vector<std::string> lines;
        for (const std::string& file : GetParam().countedFiles) {
            lines.push_back("1 " + AsciiLower(root.path() + file));
        }
        return Lines(lines);
    }
};

TEST_P(CliGameTest, ListShowInstallRefsDeinstall) {
    const GameCase& game = GetParam();
    const std::string package = game.packageName;
    AddPackage(paths.*game.missions, package, game.archive());
    AddPackage(paths.*game.missions, "not a package.zip", ZipWriter().Add("readme.txt", "hi"));

    EXPECT_EQ(Cli({"list", game.cliName}), (ProgramRun{0, "A " + package + "\n", ""}));
    EXPECT_EQ(Cli({"show", game.cliName, package}), (ProgramRun{0, Lines(game.contentLines), ""}));
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, "", ""}));

    EXPECT_EQ(Cli({"install", game.cliName, package}), (ProgramRun{0, "I " + package + "\n", ""}));
    for (const std::string& file : game.installedFiles) {
        EXPECT_TRUE(ReadFileBytes(root.path() + file).has_value()) << file;
    }
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, RefLines(), ""}));

    EXPECT_EQ(Cli({"deinstall", game.cliName, package}),
              (ProgramRun{0, "A " + package + "\n", ""}));
    for (const std::string& file : game.installedFiles) {
        EXPECT_FALSE(ReadFileBytes(root.path() + file).has_value()) << file;
    }
    EXPECT_EQ(Cli({"refs", game.cliName}), (ProgramRun{0, "", ""}));
}

INSTANTIATE_TEST_SUITE_P(AllGames, CliGameTest, ::testing::ValuesIn(kGameCases),
                         [](const ::testing::TestParamInfo<GameCase>& info) {
                             return std::string(info.param.cliName);
                         });

}  // namespace
}  // namespace wendmoor::testing
