#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "ScopedVariable.h"
#include "TempDir.h"
#include "platform/Launcher.h"
#include "platform/LauncherDesktop.h"

namespace wendmoor::testing {
namespace {

std::string NoSuchFileText() {
    return std::string(std::strerror(ENOENT)) + "\n";
}

TEST(ComposeShellError, PutsTheQuotedFileAndFolderOnLinesOfTheirOwn) {
    EXPECT_EQ(ComposeShellError(NoSuchFileText(), "qarn_readme.htm", "/home/ann"),
              NoSuchFileText() + "'qarn_readme.htm'\nin '/home/ann'");
    // A reason from the Windows shell ends with CR LF; one without a line break gets one.
    EXPECT_EQ(ComposeShellError("Access is denied.\r\n", "c3.exe", "C:\\C3\\"),
              "Access is denied.\n'c3.exe'\nin 'C:\\C3\\'");
    EXPECT_EQ(ComposeShellError("denied", "a", "b"), "denied\n'a'\nin 'b'");
    // Without a reason the names stand alone.
    EXPECT_EQ(ComposeShellError("", "zeus.exe", "/games/Zeus/"), "'zeus.exe'\nin '/games/Zeus/'");
}

std::optional<std::string> ReasonOf(Launch launch) {
    const std::optional<LaunchFailure> failure = AwaitLaunch(std::move(launch));
    if (!failure) return std::nullopt;
    return failure->reason;
}

// A launcher whose starts are recorded instead of run, with wine and xdg-open in a PATH of
// its own.
class DesktopLauncherTest : public ::testing::Test {
  protected:
    DesktopLauncherTest()
        : bin_(temp_.MakeFolder("bin")), path_("PATH", bin_.substr(0, bin_.size() - 1)) {
        MakeProgram("wine");
        MakeProgram("xdg-open");
    }

    void MakeProgram(const std::string& name) {
        ::chmod(temp_.WriteFile("bin/" + name, "#!/bin/sh\nexit 0\n").c_str(), 0755);
    }

    std::unique_ptr<Launcher> RecordingLauncher(std::optional<std::string> outcome = {}) {
        return CreateDesktopLauncher(
            [this, outcome](const ProcessRequest& request) {
                requests_.push_back(request);
                Launch launch;
                if (outcome) launch.failure = LaunchFailure{*outcome, {}};
                return launch;
            },
            kGameWatch);
    }

    static constexpr std::chrono::milliseconds kGameWatch{1234};

    TempDir temp_;
    std::string bin_;
    ScopedVariable path_;
    std::vector<ProcessRequest> requests_;
};

// A program runs with wine in its own folder, under its name on disk and watched for a game's
// time; a document opens in the folder given with the default application, followed to its end.
TEST_F(DesktopLauncherTest, RunsProgramsWithWineAndOpensDocumentsWithTheDefaultApplication) {
    temp_.WriteFile("Games/Zeus/Zeus.EXE", "MZ");
    temp_.WriteFile("Start/QARN_Readme.htm", "<html></html>");
    temp_.WriteFile("Start/setup.exe.txt", "not a program");
    const std::string gameFolder = temp_.path() + "games/ZEUS/";
    const std::string startFolder = temp_.path() + "Start";
    const auto launcher = RecordingLauncher();

    EXPECT_EQ(ReasonOf(launcher->Open(gameFolder + "zeus.exe", gameFolder)), std::nullopt);
    EXPECT_EQ(ReasonOf(launcher->Open("qarn_readme.htm", startFolder)), std::nullopt);
    EXPECT_EQ(ReasonOf(launcher->Open("setup.exe.txt", startFolder)), std::nullopt);

    ASSERT_EQ(requests_.size(), 3u);
    EXPECT_EQ(requests_[0].program, bin_ + "wine");
    EXPECT_EQ(requests_[0].arguments,
              (std::vector<std::string>{"wine", temp_.path() + "Games/Zeus/Zeus.EXE"}));
    EXPECT_EQ(requests_[0].workingDirectory, temp_.path() + "Games/Zeus/");
    EXPECT_EQ(requests_[0].watchTime, kGameWatch);
    EXPECT_EQ(requests_[1].program, bin_ + "xdg-open");
    EXPECT_EQ(requests_[1].arguments,
              (std::vector<std::string>{"xdg-open", startFolder + "/QARN_Readme.htm"}));
    EXPECT_EQ(requests_[1].workingDirectory, startFolder);
    EXPECT_EQ(requests_[1].watchTime, kWatchToTheEnd);
    EXPECT_EQ(requests_[2].arguments[0], "xdg-open");
}

// A missing file, or a starter missing from the PATH or not executable, is reported and
// nothing starts.
TEST_F(DesktopLauncherTest, AMissingFileOrStarterIsReported) {
    const std::string gameFolder = temp_.MakeFolder("Games/Caesar3");
    const auto launcher = RecordingLauncher();
    EXPECT_EQ(ReasonOf(launcher->Open(gameFolder + "c3.exe", gameFolder)), NoSuchFileText());
    EXPECT_EQ(ReasonOf(launcher->Open("qarn_readme.htm", temp_.path())), NoSuchFileText());

    temp_.WriteFile("Games/Caesar3/c3.exe", "MZ");
    temp_.WriteFile("qarn_readme.htm", "<html></html>");
    ::chmod((bin_ + "wine").c_str(), 0644);
    ::unlink((bin_ + "xdg-open").c_str());
    const auto wineMissing = ReasonOf(launcher->Open(gameFolder + "c3.exe", gameFolder));
    const auto openerMissing = ReasonOf(launcher->Open("qarn_readme.htm", temp_.path()));
    ASSERT_TRUE(wineMissing && openerMissing);
    EXPECT_NE(wineMissing->find("wine"), std::string::npos);
    EXPECT_EQ(wineMissing->back(), '\n');
    EXPECT_NE(openerMissing->find("xdg-open"), std::string::npos);
    EXPECT_EQ(openerMissing->back(), '\n');
    EXPECT_TRUE(requests_.empty());
}

}  // namespace
}  // namespace wendmoor::testing
