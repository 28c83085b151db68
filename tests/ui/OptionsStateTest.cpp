// The options dialog's rows without a window: what a choice puts in a row, what it refuses,
// and what each row says about its value.
#include "ui/OptionsState.h"

#include <algorithm>

#include <gtest/gtest.h>
#include "TempDir.h"
#include "games/Games.h"
#include "platform/Path.h"

#include "UiFakes.h"

namespace wendmoor {
namespace {

using namespace testing;

// A path written with "/" in the system's spelling.
std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

class OptionsStateTest : public ::testing::Test {
  protected:
    std::size_t Row(std::string GamePaths::*field) {
        for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
            if (kOptionsRows[row].field == field) return row;
        }
        ADD_FAILURE() << "no such row";
        return 0;
    }
    void Choose(std::string GamePaths::*field, std::optional<std::string> answer) {
        files.Answer(std::move(answer));
        state.Browse(Row(field));
    }

    TempDir temp;
    GamePaths paths;
    ScriptedFileChooser files;
    RecordingMessageBoxes messages;
    OptionsState state{paths, files, messages, ParentWindow{}};
};

// The folder of the chosen file, byte for byte and with its separator; the file name goes. A
// program row offers its program's name as the pattern and takes the program in any letter
// case; a folder row offers no pattern; a cancelled choice changes nothing.
TEST_F(OptionsStateTest, TheChosenFilesFolderIsKeptWithItsSeparator) {
    const std::string zeus = temp.MakeFolder("Zeus");
    temp.WriteFile("Zeus/zeus.exe", "MZ");
#ifdef _WIN32
    const std::string name = "Pharao \xc3\xa4";  // Windows names are text
#else
    const std::string name = "Pharao \xe4\xff";  // bytes that are no UTF-8 stay as they are
#endif
    const std::string pharao = temp.MakeFolder(name);
    temp.WriteFile(name + "/Pharaoh.exe", "MZ");
    const struct {
        std::string GamePaths::*field;
        std::string chosen;
        std::string folder;
    } cases[] = {
        {&GamePaths::zeus_path, zeus + "Zeus.exe", zeus},
        {&GamePaths::zeus_saves, Native("/home/player/Zeus/Save/locate Zeus Save folder"),
         Native("/home/player/Zeus/Save/")},
        {&GamePaths::caesar3_missions, Native("/home/player/missions/any.zip"),
         Native("/home/player/missions/")},
        {&GamePaths::pharao_path, pharao + "Pharaoh.exe", pharao},
    };
    for (const auto& c : cases) {
        Choose(c.field, c.chosen);
        EXPECT_EQ(state.Working().*c.field, c.folder) << c.chosen;
    }
    EXPECT_EQ(files.requests[0].pattern, "Zeus.exe");
    EXPECT_TRUE(files.requests[0].fileMustExist);
    EXPECT_EQ(files.requests[1].pattern, "");
    EXPECT_FALSE(files.requests[1].fileMustExist);
    EXPECT_TRUE(messages.shown.empty());

    Choose(&GamePaths::zeus_path, std::nullopt);
    EXPECT_EQ(state.Working().zeus_path, zeus);
    EXPECT_EQ(paths.zeus_path, "");  // only Accept gives the folders back
    EXPECT_TRUE(state.Accept());
    EXPECT_EQ(paths.zeus_path, zeus);
}

// A program that is not there, or a folder too long to be stored (259 bytes are, 260 are not),
// is refused with a message and the chooser opens again where the choice was made.
TEST_F(OptionsStateTest, AMissingProgramOrATooLongFolderIsRefusedAndAskedAgain) {
    const auto folderOf = [this](std::size_t size) {
        const std::string folder =
            temp.MakeFolder(std::string(size - temp.path().size() - 1, size == 260 ? 'x' : 'y'));
        temp.WriteFile(folder.substr(temp.path().size()) + "Zeus.exe", "MZ");
        return folder;
    };
    const std::string tooLong = folderOf(kMaxStoredPathLength + 1);
    const std::string longest = folderOf(kMaxStoredPathLength);
    const std::string empty = temp.MakeFolder("empty");
    files.Answer(empty + "Zeus.exe");
    files.Answer(tooLong + "Zeus.exe");
    Choose(&GamePaths::zeus_path, longest + "Zeus.exe");

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].second, empty + "Zeus.exe\nFile not found.");
    EXPECT_EQ(messages.shown[1].first, "Path too long");
    EXPECT_NE(messages.shown[1].second.find("at most 259 bytes"), std::string::npos);
    ASSERT_EQ(files.requests.size(), 3u);
    EXPECT_EQ(files.requests[1].initialFolder, empty);
    EXPECT_EQ(files.requests[2].initialFolder, tooLong);
    EXPECT_EQ(state.Working().zeus_path, longest);
}

TEST_F(OptionsStateTest, TheChooserOpensInTheRowsFolderOrTheNearestOneAboveIt) {
    const std::string zeus = temp.MakeFolder("Zeus");
    const std::string saves = temp.MakeFolder(std::string("Zeus") + kPathSeparator + "Save");
    paths.zeus_path = zeus;  // the program row: its program's folder
    paths.zeus_saves = temp.path() + "ZEUS" + kPathSeparator + "save" + kPathSeparator;
    paths.zeus_missions = zeus + "Gone" + kPathSeparator;  // gone: the nearest existing folder
    paths.pharao_missions = "relative/nowhere/";           // nothing exists: the chooser decides
    OptionsState fresh(paths, files, messages, {});
    const std::pair<std::string GamePaths::*, std::string> cases[] = {
        {&GamePaths::zeus_path, zeus},     {&GamePaths::zeus_saves, saves},
        {&GamePaths::zeus_missions, zeus}, {&GamePaths::pharao_missions, ""},
        {&GamePaths::emperor_saves, ""},
    };
    for (const auto& [field, folder] : cases) {
        fresh.Browse(Row(field));
        EXPECT_EQ(files.requests.back().initialFolder, folder);
    }
}

// Another game folder (another letter case is another folder) empties that game's saves, and
// the save row says why; the same folder keeps them.
TEST_F(OptionsStateTest, AnotherGameFolderEmptiesThatGamesSavesAndSaysWhy) {
    const std::string pharao = temp.MakeFolder("Pharao");
    temp.WriteFile("Pharao/PHARAOH.EXE", "MZ");
    const std::string zeus = temp.MakeFolder("zeus");
    temp.WriteFile("zeus/Zeus.exe", "MZ");
    paths.pharao_path = pharao;
    paths.pharao_saves = pharao + "Save/";
    paths.zeus_path = temp.path() + "Zeus/";
    paths.zeus_saves = temp.path() + "Zeus/Save/";
    OptionsState fresh(paths, files, messages, {});

    files.Answer(pharao + "PHARAOH.EXE");
    fresh.Browse(Row(&GamePaths::pharao_path));
    EXPECT_EQ(fresh.Working().pharao_saves, pharao + "Save/");
    EXPECT_EQ(fresh.RowNote(Row(&GamePaths::pharao_saves)), "");

    files.Answer(zeus + "Zeus.exe");
    fresh.Browse(Row(&GamePaths::zeus_path));
    EXPECT_EQ(fresh.Working().zeus_path, zeus);
    EXPECT_EQ(fresh.Working().zeus_saves, "");
    EXPECT_EQ(fresh.RowNote(Row(&GamePaths::zeus_saves)),
              "emptied: the game folder changed, choose it anew");
}

// Found values are noted with their origin; where several were found the picker asks, and a
// row the player declined stays empty. The first start's Cancel asks before discarding them.
TEST_F(OptionsStateTest, FoundValuesTellTheirOriginAndAreNotDiscardedUnasked) {
    ScriptedFolderPicker picker;
    picker.answers = {std::nullopt};  // the player declines the Zeus game folder
    state.EnableFinder(FinderPlaces{}, picker);
    GameFindings findings;
    findings.Add(kZeus, {"/a/Zeus/", "Steam library ~/a", false});
    findings.Add(kZeus, {"/b/Zeus/", "Wine prefix ~/.wine/", false});
    findings.Add(kPharao, {"/games/Pharaoh/", "Wine prefix ~/.wine/", false});
    state.Fill(findings);

    ASSERT_EQ(picker.offered.size(), 1u);
    EXPECT_EQ(picker.offered[0][1], "/b/Zeus/    (Wine prefix ~/.wine/)");
    EXPECT_EQ(state.Working().zeus_path, "");
    EXPECT_EQ(state.RowNote(Row(&GamePaths::pharao_path)), "found: Wine prefix ~/.wine/");
    EXPECT_EQ(state.FindStatus().back(), '.');
    EXPECT_TRUE(state.HoldsFoundValues());
    // A proposed folder is made on OK; one that cannot be made keeps the dialog open and says so.
    findings.Add(kEmperor, {temp.WriteFile("file", "") + "/Emperor/", "proposed", true});
    state.Fill(findings);
    EXPECT_FALSE(state.Accept());
    EXPECT_EQ(state.RowNote(Row(&GamePaths::emperor_path)),
              "could not be made: choose another folder");
    EXPECT_EQ(paths.pharao_path, "");
    const std::string question = DiscardFoundQuestion(state);
    EXPECT_NE(question.find("Pharao game folder: /games/Pharaoh/"), std::string::npos);
    EXPECT_EQ(question.find("Zeus game folder"), std::string::npos);
}

}  // namespace
}  // namespace wendmoor
