// Start-up, the choice of game and "Options".
#include <QApplication>
#include <QCursor>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FakeSeams.h"
#include "ZipWriter.h"
#include "packages/Games.h"
#include "settings/dialog/OptionsDialog.h"
#include "widgets/ListBoxes.h"

namespace wendmoor {
namespace {

using testing::Accept;
using testing::Reject;
using testing::WindowTest;
using testing::Work;
using testing::ZipWriter;

using Lines = std::vector<std::string>;

// Clicks a row's "..." button in the options dialog.
void Browse(OptionsDialog& options, const char* button) {
    options.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

const QString kOptionsTitle = QStringLiteral("QARN Options Dialog");
const QString kAboutTitle = QStringLiteral("Info über QARN");

class MainDialogTest : public WindowTest {
  protected:
    void Click(const char* name) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    }
    Lines Content() const { return ListLines(window->ContentList()); }
    Lines Installed() const { return ListLines(window->InstalledList()); }
    Lines Available() const { return ListLines(window->AvailableList()); }

    // A Caesar III package in the missions folder.
    void AddCaesar3Package(const GamePaths& paths, const std::string& name) {
        ASSERT_TRUE(ZipWriter()
                        .Add("Rome.map", "map")
                        .Add("Rome.sav", "save")
                        .WriteTo(paths.caesar3_missions + name));
    }
};

// --- start-up ---------------------------------------------------------------------------

TEST(FirstStartTest, AboutBoxWhenPharaoZeusAndEmperorFoldersAreEmpty) {
    GamePaths paths;
    EXPECT_TRUE(NeedsFirstStartAbout(paths));
    paths.caesar3_path = "/games/C3/";  // takes no part
    paths.caesar3_missions = "/missions/";
    EXPECT_TRUE(NeedsFirstStartAbout(paths));
    for (std::string GamePaths::*field :
         {&GamePaths::pharao_path, &GamePaths::zeus_path, &GamePaths::emperor_path}) {
        GamePaths one;
        one.*field = "/games/x/";
        EXPECT_FALSE(NeedsFirstStartAbout(one));
    }
}

TEST_F(MainDialogTest, FirstStartShowsTheAboutBoxBeforeTheWindow) {
    window = std::make_unique<MainDialog>(store, services);
    dialogs.Expect(Reject());
    EXPECT_FALSE(window->InitDialog());
    EXPECT_EQ(dialogs.titles, std::vector<QString>({kAboutTitle}));
    EXPECT_FALSE(window->isVisible());

    dialogs.Expect(Accept());
    EXPECT_TRUE(window->InitDialog());
}

TEST_F(MainDialogTest, ConfiguredFoldersLoadWithoutTheAboutBox) {
    GamePaths stored = Caesar3Folders();
    SaveGamePaths(stored, store);
    window = std::make_unique<MainDialog>(store, services);
    EXPECT_TRUE(window->InitDialog());
    EXPECT_TRUE(dialogs.titles.empty());
    EXPECT_EQ(window->Paths(), stored);
}

TEST_F(MainDialogTest, TheStartDirectoryIsTheFolderCurrentAtConstruction) {
    const std::string folder = dir.MakeFolder("start");
    std::filesystem::current_path(folder);
    Open(Caesar3Folders());
    EXPECT_EQ(window->StartDirectory() + "/", folder);
}

// --- SelectGame ------------------------------------------------------------------------

class MissingFoldersTest : public MainDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(MissingFoldersTest, OptionsOpenOnceAndCancelLeavesTheMessage) {
    const GameDescription* game = FindGame(GetParam());
    ASSERT_NE(game, nullptr);
    GamePaths stored = Caesar3Folders();
    stored.*game->gameFolder = dir.MakeFolder("game");
    stored.*game->missions = dir.MakeFolder("missions");  // the save-game folder is missing
    Open(stored);

    dialogs.Expect(Reject());
    window
        ->findChild<QAbstractButton*>(QString::fromLatin1(GetParam() == kPharao ? "pharaoButton"
                                                          : GetParam() == kZeus ? "zeusButton"
                                                                                : "emperorButton"))
        ->click();

    EXPECT_EQ(dialogs.titles, std::vector<QString>({kOptionsTitle}));
    EXPECT_EQ(Content(), Lines({game->incompleteMessage}));
    EXPECT_TRUE(Installed().empty());
    EXPECT_TRUE(Available().empty());
    EXPECT_EQ(window->CurrentGame(), 0);

    // "Start" then does nothing.
    Click("startButton");
    EXPECT_TRUE(launcher.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Games, MissingFoldersTest, ::testing::Values(kPharao, kZeus, kEmperor));

TEST_F(MainDialogTest, FoldersGivenInTheOptionsDialogSelectTheGame) {
    GamePaths stored = Caesar3Folders();
    stored.caesar3_path.clear();
    Open(stored);
    AddCaesar3Package(stored, "rome.zip");
    const std::string gameFolder = dir.MakeFolder("Caesar 3");
    files.Answer(gameFolder + "C3.EXE");
    dialogs.Expect(Work<OptionsDialog>([](OptionsDialog& options) {
        Browse(options, "caesar3_pathBrowse");
        options.accept();
    }));
    Click("caesar3Button");
    EXPECT_EQ(window->CurrentGame(), kCaesar3);
    EXPECT_EQ(window->Paths().caesar3_path, gameFolder);
    EXPECT_EQ(Available(), Lines({"rome.zip"}));
    EXPECT_TRUE(Content().empty());
    // Its OK saved the folders, as every OK of "Options" does.
    GamePaths saved;
    LoadGamePaths(saved, store);
    EXPECT_EQ(saved.caesar3_path, gameFolder);
}

TEST_F(MainDialogTest, TheOptionsDialogOfASelectionShowsTheNormalCursor) {
    Open(Caesar3Folders());
    bool sawArrow = false;
    dialogs.Expect([&](QDialog& dialog) {
        sawArrow = QApplication::overrideCursor() != nullptr &&
                   QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
        dialog.reject();
    });
    Click("pharaoButton");
    EXPECT_TRUE(sawArrow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the wait cursor ended too
}

TEST_F(MainDialogTest, TheListsAreWorkedFromTheKeyboard) {
    const GamePaths stored = Caesar3Folders();
    Open(stored);
    AddCaesar3Package(stored, "rome.zip");
    window->show();
    Click("caesar3Button");
    QListWidget* available = window->AvailableList();
    available->setFocus();
    QTest::keyClick(available, Qt::Key_Down);
    EXPECT_EQ(Content(), Lines({"M Rome.map", "S Rome.sav"}));
    QTest::keyClick(available, Qt::Key_Return);  // installs, as a double-click does
    EXPECT_EQ(Installed(), Lines({"rome.zip"}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->result(), 0);
}

// --- Options ---------------------------------------------------------------------------

TEST_F(MainDialogTest, OptionsSaveOnlyOnOkAndWithoutAGameChangeNoList) {
    const GamePaths stored = Caesar3Folders();
    Open(stored);
    const std::string zeusFolder = dir.MakeFolder("Zeus");
    for (const bool ok : {false, true}) {
        files.Answer(zeusFolder + "Zeus.exe");
        dialogs.Expect(Work<OptionsDialog>([ok](OptionsDialog& options) {
            Browse(options, "zeus_pathBrowse");
            ok ? options.accept() : options.reject();
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
    AddCaesar3Package(stored, "rome.zip");
    Click("caesar3Button");
    ASSERT_EQ(Available(), Lines({"rome.zip"}));

    std::vector<std::size_t> listedWhenSaved;
    store.onWrite = [&](const std::string&, const std::string&) {
        listedWhenSaved.push_back(static_cast<std::size_t>(window->AvailableList()->count()));
    };
    dialogs.Expect([&](QDialog& dialog) {
        AddCaesar3Package(stored, "carthage.zip");  // no folder changes; the lists still do
        dialog.accept();
    });
    Click("optionsButton");
    ASSERT_FALSE(listedWhenSaved.empty());
    for (const std::size_t count : listedWhenSaved) EXPECT_EQ(count, 1u);  // before the rescan
    EXPECT_EQ(Available(), Lines({"carthage.zip", "rome.zip"}));
    EXPECT_EQ(window->CurrentGame(), kCaesar3);
}

// A different game folder empties the save-game folder; the refresh then asks again.
class ChangedGameFolderTest : public MainDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(ChangedGameFolderTest, EmptiesTheSavesAndASecondOptionsDialogOpens) {
    const GameDescription* game = FindGame(GetParam());
    ASSERT_NE(game, nullptr);
    GamePaths stored = Caesar3Folders();
    stored.*game->gameFolder = dir.MakeFolder("game");
    stored.*game->missions = dir.MakeFolder("missions");
    stored.*game->saves = dir.MakeFolder("saves");
    Open(stored);
    window->SelectGame(GetParam());
    ASSERT_EQ(window->CurrentGame(), GetParam());

    const char* browseButton = GetParam() == kPharao ? "pharao_pathBrowse"
                               : GetParam() == kZeus ? "zeus_pathBrowse"
                                                     : "emperor_pathBrowse";
    const std::string otherFolder = dir.MakeFolder("other game");
    files.Answer(otherFolder + game->programName);
    dialogs.Expect(Work<OptionsDialog>([browseButton](OptionsDialog& options) {
        Browse(options, browseButton);
        options.accept();
    }));
    dialogs.Expect(Reject());
    Click("optionsButton");

    EXPECT_EQ(dialogs.titles, std::vector<QString>({kOptionsTitle, kOptionsTitle}));
    EXPECT_EQ(window->Paths().*game->gameFolder, otherFolder);
    EXPECT_EQ(window->Paths().*game->saves, "");
    EXPECT_EQ(Content(), Lines({game->incompleteMessage}));
    EXPECT_EQ(window->CurrentGame(), 0);
}

INSTANTIATE_TEST_SUITE_P(Games, ChangedGameFolderTest, ::testing::Values(kPharao, kZeus, kEmperor));

}  // namespace
}  // namespace wendmoor
