// What the main window shows and allows, on Caesar III packages in a temporary game tree. Where
// the files go is the session's (tests/packages).
#include "ui/MainWindowState.h"

#include <cstdio>
#include <memory>

#include "GameTree.h"
#include "archive/CommandProgress.h"
#include "platform/SettingsStore.h"

namespace wendmoor {
namespace {

using namespace testing;

class MainWindowStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            ZipWriter().Add("Rome.map", "rome map").WriteTo(paths.caesar3_missions + "rome.zip"));
        state.Paths() = paths;
        state.SelectGame(kCaesar3);
    }
    PackageCommand Command(PackageList list) {
        const std::optional<PackageCommand> command = state.CommandFrom(list);
        EXPECT_TRUE(command.has_value());
        return command.value_or(PackageCommand{});
    }
    // Runs the command as the window does, and answers its report.
    std::string Run(PackageList list, CommandProgress* progress = nullptr) {
        const PackageCommand command = Command(list);
        state.BeginCommand();
        EXPECT_FALSE(state.CanInstall() || state.CanDeinstall());  // nothing while it runs
        const Outcome outcome = state.RunCommand(command, progress);
        return state.FinishCommand(command, outcome,
                                   progress != nullptr && progress->CancelRequested());
    }

    TempDir dir;
    GamePaths paths = MakeGameFolders(dir);
    std::unique_ptr<SettingsStore> store = OpenIniSettingsStore(dir.path() + "QARN.conf");
    MainWindowState state{*store, nullptr};
};

// An install that would change the map another installed package uses asks first, naming it.
TEST_F(MainWindowStateTest, AnInstallThatChangesAMapOthersUseAsksFirst) {
    ASSERT_TRUE(ZipWriter()
                    .Add("ROME.MAP", "other map")
                    .Add("other.sav", "s")
                    .WriteTo(paths.caesar3_missions + "other.zip"));
    state.SelectGame(kCaesar3);
    state.SelectPackage(PackageList::Available, "rome.zip");
    EXPECT_EQ(state.QuestionBefore(Command(PackageList::Available)), "");
    EXPECT_EQ(Run(PackageList::Available), "");
    state.SelectPackage(PackageList::Available, "other.zip");
    const std::string question = state.QuestionBefore(Command(PackageList::Available));
    EXPECT_TRUE(question.starts_with("other.zip has a map")) << question;
    EXPECT_NE(question.find("\nrome.zip\n"), std::string::npos) << question;
}

// Each button acts only on a selection in its own list. After a command the package is
// selected in the list it moved to, so the next Enter on the list it came from does nothing.
TEST_F(MainWindowStateTest, ButtonsActOnlyOnTheirListAndThePackageStaysSelected) {
    EXPECT_FALSE(state.CanInstall() || state.CanDeinstall());  // nothing selected
    state.SelectPackage(PackageList::Available, "rome.zip");
    EXPECT_EQ(state.ContentLines(), std::vector<std::string>({"M Rome.map"}));
    EXPECT_TRUE(state.CanInstall() && !state.CanDeinstall());
    EXPECT_EQ(Run(PackageList::Available), "");
    EXPECT_EQ(state.Selected(PackageList::Installed), "rome.zip");
    EXPECT_EQ(state.ContentLines(), std::vector<std::string>({"M Rome.map"}));
    EXPECT_FALSE(state.CanInstall());
    EXPECT_TRUE(state.CanDeinstall());

    EXPECT_EQ(Run(PackageList::Installed), "");
    EXPECT_EQ(state.Selected(PackageList::Available), "rome.zip");
    EXPECT_FALSE(state.Selected(PackageList::Installed).has_value());
}

// A cancel before the first rename ends with one plain sentence, and nothing is installed.
TEST_F(MainWindowStateTest, ACancelledInstallSaysNothingWasReplaced) {
    state.SelectPackage(PackageList::Available, "rome.zip");
    CommandProgress progress;
    progress.Cancel();
    EXPECT_EQ(Run(PackageList::Available, &progress), "Cancelled: nothing was replaced.\n");
    EXPECT_TRUE(state.Lines(PackageList::Installed).empty());
    EXPECT_EQ(state.Selected(PackageList::Available), "rome.zip");
}

// Empty lists say where packages go and how to add them; a listed package whose archive went
// says so instead of showing no content.
TEST_F(MainWindowStateTest, ContentExplainsEmptyListsAndAGoneArchive) {
    state.SelectPackage(PackageList::Available, "rome.zip");
    ASSERT_EQ(std::remove((paths.caesar3_missions + "rome.zip").c_str()), 0);
    state.SelectPackage(PackageList::Available, "rome.zip");
    const std::vector<std::string> gone = state.ContentLines();
    ASSERT_FALSE(gone.empty());
    EXPECT_NE(gone[0].find("gone"), std::string::npos);

    state.SelectGame(kCaesar3);
    const std::vector<std::string> hint = state.ContentLines();
    ASSERT_EQ(hint.size(), 2u);
    EXPECT_NE(hint[0].find(paths.caesar3_missions), std::string::npos);
    EXPECT_NE(hint[1].find("Add packages..."), std::string::npos);
}

// A first start is one without Pharao, Zeus and Emperor folders; Caesar III's take no part.
TEST_F(MainWindowStateTest, FirstStartNeedsNoneOfThreeGameFolders) {
    for (std::string GamePaths::*field : {&GamePaths::caesar3_path, &GamePaths::pharao_path,
                                          &GamePaths::zeus_path, &GamePaths::emperor_path}) {
        state.Paths() = GamePaths();
        state.Paths().*field = "/games/";
        EXPECT_EQ(state.NeedsFirstStartAbout(), field == &GamePaths::caesar3_path);
    }
}

}  // namespace
}  // namespace wendmoor
