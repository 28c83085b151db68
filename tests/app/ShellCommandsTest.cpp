// "Start", "Help", the "Error" box and the About command.
#include <QAction>
#include <QPushButton>
#include <QRadioButton>

#include "FakeSeams.h"
#include "packages/Games.h"

namespace wendmoor {
namespace {

using testing::Accept;
using testing::WindowTest;

using Call = std::pair<std::string, std::string>;

class ShellCommandsTest : public WindowTest {
  protected:
    void Click(const char* id) {
        window->findChild<QAbstractButton*>(QString::fromLatin1(id))->click();
    }
};

TEST_F(ShellCommandsTest, StartWithNoGameDoesNothing) {
    Open(Caesar3Folders());
    Click("1049");
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellCommandsTest, StartRunsTheGameInItsFolder) {
    const GamePaths paths = Caesar3Folders();
    Open(paths);
    Click("1018");
    ASSERT_EQ(window->CurrentGame(), kCaesar3);
    Click("1049");
    EXPECT_EQ(launcher.calls,
              std::vector<Call>({{paths.caesar3_path + "c3.exe", paths.caesar3_path}}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellCommandsTest, HelpFailingShowsOneErrorBox) {
    Open(Caesar3Folders());
    launcher.failure = "No such file or directory\n";
    Click("1001");
    const std::string start = window->StartDirectory();
    EXPECT_EQ(launcher.calls, std::vector<Call>({{"qarn_readme.htm", start}}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, QStringLiteral("Error"));
    const std::string expected =
        ComposeShellError("No such file or directory\n", "qarn_readme.htm", start);
    EXPECT_EQ(messages.shown[0].second, QString::fromLocal8Bit(expected));
    EXPECT_EQ(messages.shown[0].second.toStdString(),
              "No such file or directory\n 'qarn_readme.htm'  in  '" + start + "'");
}

TEST_F(ShellCommandsTest, HelpLooksInTheStartDirectoryAfterAScan) {
    const GamePaths paths = Caesar3Folders();
    Open(paths);
    const std::string start = window->StartDirectory();
    Click("1018");  // the scan enters the missions folder
    Click("1001");
    EXPECT_EQ(launcher.calls, std::vector<Call>({{"qarn_readme.htm", start}}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ShellCommandsTest, ShellOpenAnswersWhetherItWorked) {
    Open(Caesar3Folders());
    EXPECT_TRUE(window->ShellOpen("a", "b"));
    launcher.failure = "denied";
    EXPECT_FALSE(window->ShellOpen("a", "b"));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ShellCommandsTest, TheAboutCommandOpensTheAboutBox) {
    Open(Caesar3Folders());
    QAction* about = window->AboutAction();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), QStringLiteral("Inf&o über QARN..."));
    EXPECT_TRUE(window->actions().contains(about));  // in the window's context menu
    EXPECT_EQ(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    about->trigger();
    EXPECT_EQ(dialogs.titles, std::vector<QString>({QStringLiteral("Info über QARN")}));
    EXPECT_EQ(dialogs.unexpected, 1);  // answered by nobody: rejected, and nothing follows
    EXPECT_EQ(window->CurrentGame(), 0);
}

}  // namespace
}  // namespace wendmoor
