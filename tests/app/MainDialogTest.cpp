// Start-up, the choice of game and "Options".
#include <array>

#include <QApplication>
#include <QCursor>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include "FakeSeams.h"
#include "options/OptionsDialog.h"

namespace wendmoor {
namespace {

using namespace testing;

using MainDialogTest = WindowTest;

// --- start-up ---------------------------------------------------------------------------

// At a first start (MainWindowStateTest) the About box comes before the window, and closing
// it ends the program. A configured start shows no box (WindowTest::Open fails on one).
TEST_F(MainDialogTest, FirstStartShowsTheAboutBoxBeforeTheWindow) {
    window = std::make_unique<MainDialog>(store, services);
    dialogs.Expect(Reject());
    EXPECT_FALSE(window->InitDialog());
    EXPECT_EQ(dialogs.titles, std::vector<QString>({kAboutBoxTitle}));
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
    Click(std::array{"", "", "pharaoButton", "zeusButton", "emperorButton"}[GetParam()]);

    EXPECT_TRUE(sawArrow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialogs.titles, std::vector<QString>({kOptionsDialogTitle}));
    EXPECT_EQ(Content(), Lines({game->incompleteMessage}));
    EXPECT_TRUE(Installed().empty() && Available().empty());
    EXPECT_EQ(window->CurrentGame(), 0);
    Click("startButton");
    EXPECT_TRUE(launcher.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Games, MissingFoldersTest, ::testing::Values(kPharao, kZeus, kEmperor));

// --- Options ---------------------------------------------------------------------------

// The dialog works on a copy: Cancel leaves the folders and the settings file as they were; OK
// takes the copy and saves it, and lists nothing while no game is selected.
TEST_F(MainDialogTest, OptionsSaveOnlyOnOk) {
    GamePaths stored = Caesar3Folders();
    stored.zeus_path = dir.MakeFolder("Zeus");
    stored.zeus_missions = dir.MakeFolder("missions");
    Open(stored);
    const auto options = [&](const char* row, const std::string& chosen, const char* button) {
        files.Answer(chosen);
        dialogs.Expect(Work<OptionsDialog>([=](OptionsDialog& dialog) {
            Press(dialog, row);
            Press(dialog, button);
        }));
    };
    const std::string saves = dir.MakeFolder("saves");
    options("zeus_savesBrowse", saves + "any", "cancelButton");
    Click("optionsButton");
    EXPECT_EQ(window->Paths(), stored);
    EXPECT_TRUE(store.writes.empty());
    options("zeus_savesBrowse", saves + "any", "okButton");
    Click("optionsButton");
    GamePaths saved;
    LoadGamePaths(saved, store);
    EXPECT_EQ(saved.zeus_saves, saves);
    EXPECT_EQ(window->CurrentGame(), 0);
    EXPECT_TRUE(Available().empty() && Installed().empty() && Content().empty());
}

TEST_F(MainDialogTest, OptionsConfirmedWithAGameSavesFirstThenRescans) {
    const GamePaths stored = OpenOnCaesar3({{"rome.zip", ZipWriter().Add("Rome.map", "map")}});
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

// The options dialog fits the offscreen screen (800x600), smaller than its template: its rows
// scroll and OK stays in view. A larger main window gives the extra room to its lists.
TEST_F(MainDialogTest, TheWindowsFitTheScreenAndTheListsTakeTheRoom) {
    Open(Caesar3Folders());
    GamePaths paths;
    OptionsDialog options(paths, files, messages, window.get());
    const QRect screen = options.screen()->availableGeometry();
    EXPECT_LE(options.height(), screen.height());
    auto* ok = options.findChild<QWidget*>(QStringLiteral("okButton"));
    EXPECT_TRUE(options.rect().contains(QRect(ok->mapTo(&options, QPoint()), ok->size())));
    EXPECT_NE(options.findChild<QScrollArea*>(), nullptr);

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const int listWidth = window->InstalledList()->width();
    const int contentHeight = window->ContentList()->height();
    window->resize(window->size() + QSize(300, 400));
    QApplication::processEvents();
    EXPECT_GT(window->InstalledList()->width(), listWidth);
    EXPECT_EQ(window->AvailableList()->width(), window->InstalledList()->width());
    EXPECT_GT(window->ContentList()->height(), contentHeight);
}

}  // namespace
}  // namespace wendmoor
