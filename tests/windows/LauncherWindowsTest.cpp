// The shell launcher: a program that starts, and the report of one that is not there.
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "platform/Launcher.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {
namespace {

TEST(ShellLauncherTest, AMissingProgramIsReportedWithTheSystemsReason) {
    testing::TestFolder folder;
    const std::optional<std::string> reason =
        CreateSystemLauncher()->Open("missing.exe", folder.path());
    ASSERT_TRUE(reason.has_value());
    EXPECT_EQ(*reason, WindowsErrorMessage(ERROR_FILE_NOT_FOUND));
    ASSERT_FALSE(reason->empty());
    EXPECT_EQ(reason->back(), '\n');
    EXPECT_EQ(ComposeShellError(*reason, "missing.exe", folder.path()),
              *reason + " 'missing.exe'  in  '" + folder.path() + "'");
}

TEST(ShellLauncherTest, AProgramThatStartsIsNoFailure) {
    char system[MAX_PATH + 1] = {};
    ASSERT_GT(GetSystemDirectoryA(system, sizeof system), 0u);
    EXPECT_EQ(CreateSystemLauncher()->Open("hostname.exe", std::string(system) + "\\"),
              std::nullopt);
}

}  // namespace
}  // namespace wendmoor
