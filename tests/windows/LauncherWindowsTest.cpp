// The shell launcher: a program that starts, and the report of one that is not there.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/Launcher.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {
namespace {

TEST(ShellLauncherTest, AMissingProgramIsReportedWithTheSystemsReason) {
    testing::TempDir folder;
    const Launch launch = CreateSystemLauncher()->Open("missing.exe", folder.path());
    ASSERT_TRUE(launch.failure.has_value());
    EXPECT_EQ(launch.watch, nullptr);  // the shell decides at once
    const std::string& reason = launch.failure->reason;
    EXPECT_EQ(reason, WindowsErrorMessage(ERROR_FILE_NOT_FOUND, "missing.exe"));
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(reason.back(), '\n');
    std::string firstLine = reason;
    while (!firstLine.empty() && (firstLine.back() == '\n' || firstLine.back() == '\r')) {
        firstLine.pop_back();
    }
    EXPECT_EQ(ComposeShellError(reason, "missing.exe", folder.path()),
              firstLine + "\n'missing.exe'\nin '" + folder.path() + "'");
}

// The system's message names the file where its text has a place for it.
TEST(ShellLauncherTest, AProgramThatIsNoProgramIsNamedInTheReason) {
    testing::TempDir folder;
    folder.WriteFile("C3.exe", "not a program");
    const Launch launch = CreateSystemLauncher()->Open("C3.exe", folder.path());
    ASSERT_TRUE(launch.failure.has_value());
    const std::string& reason = launch.failure->reason;
    EXPECT_EQ(reason.find("%1"), std::string::npos) << reason;
    EXPECT_NE(reason.find("C3.exe"), std::string::npos) << reason;
}

TEST(ShellLauncherTest, AProgramThatStartsIsNoFailure) {
    char system[MAX_PATH + 1] = {};
    ASSERT_GT(GetSystemDirectoryA(system, sizeof system), 0u);
    const Launch launch = CreateSystemLauncher()->Open("hostname.exe", std::string(system) + "\\");
    EXPECT_FALSE(launch.failure.has_value());
}

}  // namespace
}  // namespace wendmoor
