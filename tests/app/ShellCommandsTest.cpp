// "Start", "Help", the "Error" box and the About command.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include <QAccessible>
#include <QLabel>
#include <QSocketNotifier>
#include <QTest>

#include "FakeSeams.h"
#include "ScopedVariable.h"
#include "app/AboutDialog.h"
#include "platform/LauncherDesktop.h"

namespace wendmoor {
namespace {

using namespace testing;

using Call = std::pair<std::string, std::string>;

using ShellCommandsTest = WindowTest;

// "Start" runs the game in its folder. "Help" opens the readme in the folder that was current
// when the window was made, also after a scan entered a missions folder; a failure gets one
// "Error" box.
TEST_F(ShellCommandsTest, StartAndHelpOpenTheirFilesInTheirFolders) {
    const std::string folder = dir.MakeFolder("start");
    std::filesystem::current_path(folder);
    const GamePaths paths = OpenOnCaesar3({});
    Click("startButton");
    EXPECT_TRUE(messages.shown.empty());
    launcher.failure = "No such file or directory\n";
    Click("helpButton");

    const std::string start = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(launcher.calls,
              std::vector<Call>({{paths.caesar3_path + "c3.exe", paths.caesar3_path},
                                 {"qarn_readme.htm", start}}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Error");
    EXPECT_EQ(messages.shown[0].second,
              "No such file or directory\n 'qarn_readme.htm'  in  '" + start + "'");
}

// The system's launcher with a stand-in for wine that fails after a while, and a short watch
// for programs. The window returns from the click at once; the failure the watch learns of
// later gets the "Error" box, with the starter's own words as its details. Which failures the
// watch reports is the launcher's own business (tests/launcher).
TEST_F(ShellCommandsTest, ALateFailureGetsTheErrorBoxWhileTheWindowAnswers) {
    const std::string bin = dir.MakeFolder("bin");
    const ScopedVariable path("PATH", bin + ":/usr/bin:/bin");
    const std::unique_ptr<Launcher> system =
        CreateDesktopLauncher(StartDetached, std::chrono::milliseconds(300));
    launcher.real = system.get();
    OpenOnCaesar3({});
    dir.WriteFile("Caesar3/c3.exe", "MZ");

    const std::string message = "err:module:import_dll Library MSVCR71.dll not found";
    const std::string done = dir.path() + "done";
    ::chmod(dir.WriteFile("bin/wine", "#!/bin/sh\nsleep 0.2\necho '" + message + "' >&2\ntouch '" +
                                          done + "'\nexit 53\n")
                .c_str(),
            0755);
    Click("startButton");
    EXPECT_FALSE(std::filesystem::exists(done)) << "the click waited for the starter";
    EXPECT_TRUE(messages.shown.empty());

    // The window's event loop runs; the watch ends with the starter.
    QTRY_VERIFY_WITH_TIMEOUT(window->findChildren<QSocketNotifier*>().isEmpty(), 5000);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Error");
    EXPECT_EQ(
        messages.shown[0].second.rfind("wine could not run the program (exit status 53).\n", 0),
        0u);
    EXPECT_EQ(messages.details[0], message);
    launcher.real = nullptr;
}

// The About command sits in the window's context menu, and, for a screen reader, in the
// window's accessibility tree as a button it presses; the box's link opens the readme.
TEST_F(ShellCommandsTest, TheAboutCommandOpensTheAboutBoxWhichLinksToTheReadme) {
    Open(Caesar3Folders());
    EXPECT_EQ(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(window.get());
    QAccessibleInterface* about = tree->child(tree->childCount() - 1);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(QAccessible::Name), QStringLiteral("Info über QARN..."));
    EXPECT_EQ(about->role(), QAccessible::Button);
    EXPECT_EQ(tree->indexOfChild(about), tree->childCount() - 1);
    dialogs.Expect(Work<AboutDialog>([](AboutDialog& box) {
        auto* link = box.findChild<QLabel*>(QStringLiteral("readme"));
        ASSERT_NE(link, nullptr);
        EXPECT_TRUE(link->text().contains(QStringLiteral("<a href=")));
        // A screen reader finds a link, and follows it.
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(link);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), QAccessible::Link);
        reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        box.accept();
    }));
    about->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();  // pressed as the event loop's next task
    EXPECT_EQ(dialogs.titles, std::vector<QString>({kAboutBoxTitle}));
    EXPECT_EQ(launcher.calls, std::vector<Call>({{"qarn_readme.htm", window->StartDirectory()}}));
}

}  // namespace
}  // namespace wendmoor
