// Start-up, the choice of game and "Options".
#include <QApplication>
#include <QCursor>
#include <QListWidget>
#include <QPushButton>

#include "FakeSeams.h"
#include "ZipWriter.h"
#include "packages/Games.h"
#include "settings/dialog/OptionsDialog.h"

namespace wendmoor {
namespace {

using testing::Accept;
using testing::Lines;
using testing::Reject;
using testing::WindowTest;
using testing::Work;
using testing::ZipWriter;

const QString kOptionsTitle = QStringLiteral("QARN Options Dialog");

// Clicks a button of the options dialog: a row's "...", OK or Cancel.
void Press(OptionsDialog& options, const char* button) {
    options.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

using MainDialogTest = WindowTest;

// --- start-up ---------------------------------------------------------------------------

// A first start is one without Pharao, Zeus and Emperor folders (Caesar III's take no part):
// the About box comes before the window, and closing it ends the program. A configured start
// shows no box (WindowTest::Open fails on one).
TEST_F(MainDialogTest, FirstStartShowsTheAboutBoxBeforeTheWindow) {
    GamePaths caesar3Only;
    caesar3Only.caesar3_path = "/games/C3/";
    caesar3Only.caesar3_missions = "/missions/";
    EXPECT_TRUE(NeedsFirstStartAbout(caesar3Only));
    for (std::string GamePaths::*field :
         {&GamePaths::pharao_path, &GamePaths::zeus_path, &GamePaths::emperor_path}) {
        GamePaths one;
        one.*field = "/games/x/";
        EXPECT_FALSE(NeedsFirstStartAbout(one));
    }

    window = std::make_unique<MainDialog>(store, services);
    dialogs.Expect(Reject());
    EXPECT_FALSE(window->InitDialog());
    EXPECT_EQ(dialogs.titles, std::vector<QString>({QStringLiteral("Info über QARN")}));
    EXPECT_FALSE(window->isVisible());
    dialogs.Expect(Accept());
    EXPECT_TRUE(window->InitDialog());
}

// --- SelectGame ------------------------------------------------------------------------

class MissingFoldersTest : public MainDialogTest, public ::testing::WithParamInterface<int> {};

// The options dialog asks for the missing folder with the normal cursor, not the selection's
// wait cursor; cancelled, the message stays and "Start" does nothing.
TEST_P(MissingFoldersTest, OptionsOpenOnceAndCancelLeavesTheMessage) {
    const GameDescription* game = FindGame(GetParam());
    ASSERT_NE(game, nullptr);
    GamePaths stored = Caesar3Folders();
    stored.*game->gameFolder = dir.MakeFolder("game");
    stored.*game->missions = dir.MakeFolder("missions");  // the save-game folder is missing
    Open(stored);

    bool sawArrow = false;
    dialogs.Expect([&](QDialog& dialog) {
        sawArrow = QApplication::overrideCursor() != nullptr &&
                   QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
        dialog.reject();
    });
    Click(GetParam() == kPharao ? "pharaoButton"
          : GetParam() == kZeus ? "zeusButton"
                                : "emperorButton");

    EXPECT_TRUE(sawArrow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialogs.titles, std::vector<QString>({kOptionsTitle}));
    EXPECT_EQ(Content(), Lines({game->incompleteMessage}));
    EXPECT_TRUE(Installed().empty() && Available().empty());
    EXPECT_EQ(window->CurrentGame(), 0);
    Click("startButton");
    EXPECT_TRUE(launcher.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Games, MissingFoldersTest, ::testing::Values(kPharao, kZeus, kEmperor));

TEST_F(MainDialogTest, FoldersGivenInTheOptionsDialogSelectTheGame) {
    GamePaths stored = Caesar3Folders();
    stored.caesar3_path.clear();
    Open(stored);
    ASSERT_TRUE(ZipWriter().Add("Rome.map", "map").WriteTo(stored.caesar3_missions + "rome.zip"));
    const std::string gameFolder = dir.MakeFolder("Caesar 3");
    files.Answer(gameFolder + "C3.EXE");
    dialogs.Expect(Work<OptionsDialog>([](OptionsDialog& options) {
        Press(options, "caesar3_pathBrowse");
        options.accept();
    }));
    Click("caesar3Button");
    EXPECT_EQ(window->CurrentGame(), kCaesar3);
    EXPECT_EQ(window->Paths().caesar3_path, gameFolder);
    EXPECT_EQ(Available(), Lines({"rome.zip"}));
}

// --- Options ---------------------------------------------------------------------------

// The dialog works on a copy: Cancel leaves the folders and the settings file as they were;
// OK takes the copy and saves it.
TEST_F(MainDialogTest, OptionsSaveOnlyOnOkAndWithoutAGameChangeNoList) {
    const GamePaths stored = Caesar3Folders();
    Open(stored);
    const std::string zeusFolder = dir.MakeFolder("Zeus");
    for (const bool ok : {false, true}) {
        files.Answer(zeusFolder + "Zeus.exe");
        dialogs.Expect(Work<OptionsDialog>([ok](OptionsDialog& options) {
            Press(options, "zeus_pathBrowse");
            Press(options, ok ? "okButton" : "cancelButton");
        }));
        Click("optionsButton");
        if (!ok) {
            EXPECT_EQ(window->Paths(), stored);
            EXPECT_TRUE(store.writes.empty());
        }
    }
    EXPECT_EQ(window->Paths().zeus_path, zeusFolder);
    GamePaths saved;
    LoadGamePaths(saved, store);
    EXPECT_EQ(saved.zeus_path, zeusFolder);
    EXPECT_EQ(window->CurrentGame(), 0);
    EXPECT_TRUE(Available().empty() && Installed().empty() && Content().empty());
}

TEST_F(MainDialogTest, OptionsConfirmedWithAGameSavesFirstThenRescans) {
    const GamePaths stored = Caesar3Folders();
    Open(stored);
    ASSERT_TRUE(ZipWriter().Add("Rome.map", "map").WriteTo(stored.caesar3_missions + "rome.zip"));
    Click("caesar3Button");
    ASSERT_EQ(Available(), Lines({"rome.zip"}));

    std::vector<std::size_t> listedWhenSaved;
    store.onWrite = [&](const std::string&, const std::string&) {
        listedWhenSaved.push_back(static_cast<std::size_t>(window->AvailableList()->count()));
    };
    dialogs.Expect([&](QDialog& dialog) {
        // No folder changes; the lists still do.
        ASSERT_TRUE(
            ZipWriter().Add("C.map", "map").WriteTo(stored.caesar3_missions + "carthage.zip"));
        dialog.accept();
    });
    Click("optionsButton");
    ASSERT_FALSE(listedWhenSaved.empty());
    for (const std::size_t count : listedWhenSaved) EXPECT_EQ(count, 1u);  // before the rescan
    EXPECT_EQ(Available(), Lines({"carthage.zip", "rome.zip"}));
    EXPECT_EQ(window->CurrentGame(), kCaesar3);
}

// Another game folder empties the save-game folder (the options dialog's rule, for every game
// in OptionsDialogTest); the rescan then finds the game incomplete and asks again.
TEST_F(MainDialogTest, AnotherGameFolderEmptiesTheSavesAndASecondOptionsDialogOpens) {
    GamePaths stored = Caesar3Folders();
    stored.zeus_path = dir.MakeFolder("Zeus");
    stored.zeus_missions = dir.MakeFolder("missions");
    stored.zeus_saves = dir.MakeFolder("saves");
    Open(stored);
    Click("zeusButton");
    ASSERT_EQ(window->CurrentGame(), kZeus);

    const std::string otherFolder = dir.MakeFolder("other Zeus");
    files.Answer(otherFolder + "Zeus.exe");
    dialogs.Expect(Work<OptionsDialog>([](OptionsDialog& options) {
        Press(options, "zeus_pathBrowse");
        options.accept();
    }));
    dialogs.Expect(Reject());
    Click("optionsButton");

    EXPECT_EQ(dialogs.titles, std::vector<QString>({kOptionsTitle, kOptionsTitle}));
    EXPECT_EQ(window->Paths().zeus_path, otherFolder);
    EXPECT_EQ(window->Paths().zeus_saves, "");
    EXPECT_EQ(Content(), Lines({FindGame(kZeus)->incompleteMessage}));
    EXPECT_EQ(window->CurrentGame(), 0);
}

}  // namespace
}  // namespace wendmoor
