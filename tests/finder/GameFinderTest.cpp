// The finder on fake homes: which folders it takes for which game, and what it passes over.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "finder/GameFinder.h"
#include "finder/SteamLibraries.h"
#include "games/Games.h"
#include "platform/SettingsStore.h"
#include "settings/GamePaths.h"

namespace wendmoor::testing {
namespace {

using Lines = std::vector<std::string>;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

Lines Render(const GameFindings& findings, const TempDir& root) {
    Lines lines;
    for (const int game : {kCaesar3, kPharao, kZeus, kEmperor}) {
        for (const FoundFolder& found : findings.GameFolders(game)) {
            lines.push_back(Replace(Replace(std::string(FindGame(game)->name) + " " + found.folder +
                                                " (" + found.origin + ")",
                                            root.path(), "@/"),
                                    "\\", "/"));
        }
    }
    return lines;
}

// Steam's and Wine's folders in a Linux home, links and permission bits: the finder looks
// there on Linux only (tests/windows/FinderWindowsTest.cpp has the Windows places).
#ifndef _WIN32
// A fake machine below a temporary folder: "home/" is the home, everything else stands for
// other drives. "@/" in file contents, link targets and expectations is the temporary folder.
struct FakeMachine {
    const char* name;
    Lines files;                  // "path" (an empty file) or "path=content"
    Lines expected;               // "GAME FOLDER (ORIGIN)", in the order found
    std::string winePrefix = "";  // relative, or empty
    std::vector<std::pair<std::string, std::string>> links = {};  // link -> target
};

void PrintTo(const FakeMachine& machine, std::ostream* out) {
    *out << machine.name;
}

FinderPlaces Build(const TempDir& root, const FakeMachine& machine) {
    for (const std::string& file : machine.files) {
        const std::size_t cut = file.find('=');
        root.WriteFile(file.substr(0, cut), cut == std::string::npos
                                                ? ""
                                                : Replace(file.substr(cut + 1), "@/", root.path()));
    }
    for (const auto& [link, target] : machine.links) {
        std::filesystem::create_directories(
            std::filesystem::path(root.path() + link).parent_path());
        std::filesystem::create_directory_symlink(Replace(target, "@/", root.path()),
                                                  root.path() + link);
    }
    FinderPlaces places;
    places.home = root.MakeFolder("home");
    if (!machine.winePrefix.empty()) places.winePrefix = root.path() + machine.winePrefix;
    return places;
}

const std::string kSteam = "home/.local/share/Steam/steamapps/";

const FakeMachine kMachines[] = {
    {"SteamLibraryOnASecondDrive",
     {kSteam +
          "libraryfolders.vdf="
          "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"@/home/.local/share/Steam\"\n"
          "\t\t\"apps\"\n\t\t{\n\t\t\t\"1\"\t\t\"@/nowhere\"\n\t\t}\n\t}\n"
          "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"@/drive2/SteamLibrary\"\n\t}\n}\n",
      kSteam + "common/Zeus + Poseidon/Zeus.exe",
      "drive2/SteamLibrary/steamapps/common/Pharaoh + Cleopatra/Pharaoh.exe",
      // Deeper than a game's own folder, or a folder named like the program: no game.
      "drive2/SteamLibrary/steamapps/common/Tools/bin/emperor.exe",
      "drive2/SteamLibrary/steamapps/common/Fake/c3.exe/readme.txt"},
     {"Pharao @/drive2/SteamLibrary/steamapps/common/Pharaoh + Cleopatra/ "
      "(Steam library @/drive2/SteamLibrary/)",
      "Zeus @/home/.local/share/Steam/steamapps/common/Zeus + Poseidon/ "
      "(Steam library ~/.local/share/Steam/)"},
     "",
     {{"home/.steam/steam", "@/home/.local/share/Steam"}}},  // the usual link: listed once
    {"WinePrefixWithAGogInstallInOtherLetterCase",
     {"home/.wine/drive_c/gog games/ZEUS/zeus.EXE",
      "home/.wine/drive_c/Program Files (x86)/Sierra/Emperor/Emperor.exe",
      "home/.wine/drive_c/Sierra/Pharaoh/PHARAOH.exe",
      "home/.wine/drive_c/windows/Caesar3/c3.exe"},  // the Windows folder is left out
     {"Pharao @/home/.wine/drive_c/Sierra/Pharaoh/ (Wine prefix ~/.wine/)",
      "Zeus @/home/.wine/drive_c/gog games/ZEUS/ (Wine prefix ~/.wine/)",
      "Emperor @/home/.wine/drive_c/Program Files (x86)/Sierra/Emperor/ (Wine prefix ~/.wine/)"}},
    {"BottlesHeroicAndLutrisPrefixes",
     {"home/.local/share/bottles/bottles/Impressions/drive_c/Program Files/Caesar3/c3.exe",
      "home/Games/Heroic/Prefixes/default/Zeus/drive_c/GOG Games/Zeus/Zeus.exe",
      "home/Games/pharaoh-gold/drive_c/GOG Games/Pharaoh Gold/Pharaoh.exe",
      "home/Games/Heroic/Emperor/Emperor.exe"},
     {"Caesar III @/home/.local/share/bottles/bottles/Impressions/drive_c/Program Files/Caesar3/ "
      "(Bottles bottle ~/.local/share/bottles/bottles/Impressions/)",
      "Pharao @/home/Games/pharaoh-gold/drive_c/GOG Games/Pharaoh Gold/ "
      "(Lutris prefix ~/Games/pharaoh-gold/)",
      "Zeus @/home/Games/Heroic/Prefixes/default/Zeus/drive_c/GOG Games/Zeus/ "
      "(Heroic prefix ~/Games/Heroic/Prefixes/default/Zeus/)",
      "Emperor @/home/Games/Heroic/Emperor/ (~/Games/)"}},
    {"TwoCandidatesForOneGame",
     {"home/.steam/steam/SteamApps/libraryfolders.vdf="
      "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1\"\n\t\"1\"\t\"@/drive2/lib\"\n}\n",
      "drive2/lib/SteamApps/common/Caesar 3/C3.EXE",
      "prefixes/c3/drive_c/GOG Games/Caesar 3/c3.exe"},
     {"Caesar III @/drive2/lib/SteamApps/common/Caesar 3/ (Steam library @/drive2/lib/)",
      "Caesar III @/prefixes/c3/drive_c/GOG Games/Caesar 3/ (Wine prefix @/prefixes/c3/)"},
     "prefixes/c3/"},
    {"SymbolicLinkLoops",
     {"home/.wine/drive_c/GOG Games/Zeus/Zeus.exe",
      kSteam + "libraryfolders.vdf=\"libraryfolders\" { \"0\" { \"path\" \"@/home/.steam/steam\" } "
               "\"1\" { \"path\" \"@/home/.local/share/Steam\" } }"},
     {"Zeus @/home/.wine/drive_c/GOG Games/Zeus/ (Wine prefix ~/.wine/)"},
     "",
     {{"home/.wine/drive_c/loop", "@/home/.wine/drive_c"},
      {"home/.wine/drive_c/GOG Games/again", "@/home/.wine/drive_c/GOG Games"},
      {"home/Games/a", "@/home/Games/b"},
      {"home/Games/b", "@/home/Games/a"},
      {"home/Games/Zeus", "@/home/.wine/drive_c/GOG Games/Zeus"},
      {"home/.steam/steam", "@/home/.local/share/Steam"},
      {kSteam + "common/Steam", "@/home/.local/share/Steam"}}},
};

class FindGamesTest : public ::testing::TestWithParam<FakeMachine> {};

TEST_P(FindGamesTest, FindsTheGameFoldersOfTheFakeMachine) {
    TempDir root;
    const FinderPlaces places = Build(root, GetParam());
    EXPECT_EQ(Render(FindGames(places), root), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Machines, FindGamesTest, ::testing::ValuesIn(kMachines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FindGamesUnreadableTest, UnreadableFoldersArePassedOverQuietly) {
    TempDir root;
    const FinderPlaces places = Build(
        root, {"",
               {"home/.wine/drive_c/Locked/Pharaoh/pharaoh.exe",
                "home/.wine/drive_c/Open/Zeus/zeus.exe", "home/Games/Shut/Emperor/emperor.exe"},
               {}});
    ::chmod((root.path() + "home/.wine/drive_c/Locked").c_str(), 0);
    ::chmod((root.path() + "home/Games/Shut/Emperor").c_str(), 0);
    if (::access((root.path() + "home/.wine/drive_c/Locked").c_str(), R_OK) == 0) {
        GTEST_SKIP() << "this user reads folders whatever their mode (root)";
    }
    EXPECT_EQ(Render(FindGames(places), root),
              Lines({"Zeus @/home/.wine/drive_c/Open/Zeus/ (Wine prefix ~/.wine/)"}));
}

// A FIFO where a file is read at start (Steam's library list, the settings file, which the
// machine-wide one is read as) is passed over at once: nothing waits for a writer that never comes.
// Should an open wait, the test opens the FIFO's other end after a while, so it fails instead of
// hanging.
TEST(FifoInPlaceOfAFileTest, NothingWaitsForAWriter) {
    TempDir root;
    const FinderPlaces places = Build(root, {"", {"home/.wine/drive_c/Zeus/zeus.exe"}, {}});
    const std::string conf = root.MakeFolder("config") + "QARN.conf";
    const struct {
        const char* name;
        std::string fifo;
        std::function<bool()> run;  // true: what it gave is right
    } cases[] = {
        {"libraryfolders.vdf",
         root.MakeFolder("home/.local/share/Steam/steamapps") + "libraryfolders.vdf",
         [&] { return Render(FindGames(places), root).size() == 1; }},
        {"QARN.conf read", conf,
         [&] {
             GamePaths paths;
             return LoadGamePaths(paths, *OpenIniSettingsStore(conf)).empty() &&
                    paths == GamePaths{};
         }},
        {"QARN.conf saved", conf,
         [&] {
             GamePaths paths;
             paths.zeus_path = "/z/";
             return !SaveGamePaths(paths, *OpenIniSettingsStore(conf)).Ok();
         }},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(c.fifo);
        ASSERT_EQ(::mkfifo(c.fifo.c_str(), 0600), 0) << c.name;
        std::future<bool> done = std::async(std::launch::async, c.run);
        if (done.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            ADD_FAILURE() << c.name << ": waits for a writer";
            // Each open that waits is let go, however many the code makes.
            while (done.wait_for(std::chrono::milliseconds(10)) == std::future_status::timeout) {
                const int writer = ::open(c.fifo.c_str(), O_WRONLY | O_NONBLOCK);
                if (writer >= 0) ::close(writer);
            }
        }
        EXPECT_TRUE(done.get()) << c.name;
        EXPECT_TRUE(std::filesystem::is_fifo(c.fifo)) << c.name;  // never replaced
    }
}

#endif

// The install folders Windows names: a publisher's folder, then the game's, in the program
// folders; one level in the shops' folders. With neither a home nor such folders, nothing.
TEST(FindGamesTest, InstallFoldersAreSearchedToTheirDepthAndNoPlaceFindsNothing) {
    TempDir root;
    root.WriteFile("Programs/Publisher/Zeus/Zeus.exe", "");
    root.WriteFile("Programs/Publisher/Deeper/Emperor/emperor.exe", "");
    root.WriteFile("Shop/Pharaoh/pharaoh.exe", "");
    root.WriteFile("Shop/Series/Caesar3/c3.exe", "");
    FinderPlaces places;
    places.installFolders = {{root.path() + "Programs/", 2}, {root.path() + "Shop/", 1}};
    EXPECT_EQ(Render(FindGames(places), root),
              Lines({"Pharao @/Shop/Pharaoh/ (Windows install folder @/Shop/)",
                     "Zeus @/Programs/Publisher/Zeus/ (Windows install folder @/Programs/)"}));
    EXPECT_TRUE(FindGames(FinderPlaces{}).Empty());
}

// Each place is walked one level after the other: a big tree beside a game's folder spends the
// walk's budget only after the game's folder was looked at, and the cut is said.
TEST(FindGamesTest, ABigTreeSpendsTheBudgetAfterTheShallowFoldersAndTheCutIsSaid) {
    TempDir root;
    for (int i = 0; i < 12; ++i) root.MakeFolder("Programs/aaa/" + std::to_string(i));
    root.WriteFile("Programs/zeus/Zeus.exe", "");
    FinderPlaces places;
    places.installFolders = {{root.path() + "Programs/", 2}};
    const GameFindings cut = FindGames(places, 8);
    EXPECT_EQ(Render(cut, root),
              Lines({"Zeus @/Programs/zeus/ (Windows install folder @/Programs/)"}));
    EXPECT_EQ(cut.StoppedEarlyNote(),
              "The search stopped after 8 folders: folders further in were not looked at.");
    EXPECT_FALSE(FindGames(places).StoppedEarly());
    // What lies below the deepest level searched costs nothing, so no cut is said.
    places.installFolders = {{root.path() + "Programs/", 1}};
    EXPECT_FALSE(FindGames(places, 8).StoppedEarly());
}

// --- the library list --------------------------------------------------------------------

struct VdfCase {
    const char* text;
    Lines folders;
};

TEST(SteamLibrariesTest, ReadsBothFormatsAndSurvivesDamage) {
    const VdfCase cases[] = {
        {"\"libraryfolders\" { \"0\" { \"path\" \"/a\" \"label\" \"\" \"apps\" { \"7\" \"9\" } }"
         " \"1\" { \"path\" \"/mnt/b c\" } }",
         {"/a", "/mnt/b c"}},
        {"\"LibraryFolders\"\n{\n\"TimeNextStatsReport\" \"17\"\n\"ContentStatsID\" \"-3\"\n"
         "\"1\" \"/old/one\"\n\"2\" \"/old/two\"\n}",
         {"/old/one", "/old/two"}},
        {"// comment \"9\" \"/no\"\n\"libraryfolders\" { \"0\" { \"path\" \"C:\\\\Games\\\\Steam\" "
         "\"path\" \"/q\\\"uote\" } }",
         {"C:\\Games\\Steam", "/q\"uote"}},
        {"\"libraryfolders\" { \"0\" { \"path\" \"/kept\" } \"1\" { \"path\" \"/cut", {"/kept"}},
        {"", {}},
        {"}}}} \"path\" \"/wrong/level\" {{{{", {}},
    };
    for (const VdfCase& vdf : cases) {
        EXPECT_EQ(ParseLibraryFolders(vdf.text), vdf.folders) << vdf.text;
    }
}

// --- save-game folders ---------------------------------------------------------------------

struct SaveCase {
    int game;
    Lines folders;   // made below the game folder
    Lines expected;  // relative to the game folder
};

TEST(FindSaveFoldersTest, TheSaveFolderOrEachPlayersFolderInIt) {
    const SaveCase cases[] = {
        {kZeus, {"save"}, {"save/"}},
        {kPharao, {"SAVE/Anna", "SAVE/Bert"}, {"SAVE/Anna/", "SAVE/Bert/"}},
        {kEmperor, {"Saves", "Maps"}, {}},
        {kCaesar3, {"Save/Anna"}, {}},  // Caesar III saves beside its program
    };
    for (const SaveCase& save : cases) {
        TempDir game;
        for (const std::string& folder : save.folders) game.MakeFolder(folder);
        Lines found;
        for (const FoundFolder& folder : FindSaveFolders(*FindGame(save.game), game.path())) {
            found.push_back(Replace(folder.folder.substr(game.path().size()), "\\", "/"));
        }
        EXPECT_EQ(found, save.expected) << FindGame(save.game)->name;
    }
}

}  // namespace
}  // namespace wendmoor::testing
