#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "ScopedPath.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/Launcher.h"

namespace wendmoor {
namespace {

using testing::ReadFileBytes;
using testing::ScopedPath;
using testing::TempDir;

std::string SystemText(int error) {
    return std::string(std::strerror(error)) + "\n";
}

// The real launcher, with wine and xdg-open replaced by programs the test writes into a PATH
// of its own; nothing outside the temporary folder is started.
class SystemLauncherTest : public ::testing::Test {
  protected:
    SystemLauncherTest()
        : bin_(temp_.MakeFolder("bin")),
          path_(bin_.substr(0, bin_.size() - 1)),
          gameFolder_(temp_.MakeFolder("Games/Zeus")) {
        temp_.WriteFile("Games/Zeus/zeus.exe", "MZ");
    }

    void MakeProgram(const std::string& name, const std::string& bytes, mode_t mode = 0755) {
        ::chmod(temp_.WriteFile("bin/" + name, bytes).c_str(), mode);
    }

    std::optional<std::string> StartZeus(const std::string& folder) {
        return CreateSystemLauncher()->Open(gameFolder_ + "zeus.exe", folder);
    }

    TempDir temp_;
    std::string bin_;
    ScopedPath path_;
    std::string gameFolder_;
};

TEST_F(SystemLauncherTest, AWineThatCannotBeExecutedIsReported) {
    MakeProgram("wine", "#!/no/such/interpreter\n");
    EXPECT_EQ(StartZeus(gameFolder_), SystemText(ENOENT));

    MakeProgram("wine", std::string("\x7f\x01\x02garbage", 10));
    EXPECT_EQ(StartZeus(gameFolder_), SystemText(ENOEXEC));
}

TEST_F(SystemLauncherTest, AWorkingFolderThatCannotBeEnteredIsReported) {
    MakeProgram("wine", "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(StartZeus(temp_.path() + "Games/Gone/"), SystemText(ENOENT));
}

TEST_F(SystemLauncherTest, AnEarlyFailureOfTheStarterIsReported) {
    MakeProgram("wine", "#!/bin/sh\nexit 3\n");
    const auto wineFailed = StartZeus(gameFolder_);
    ASSERT_TRUE(wineFailed);
    EXPECT_NE(wineFailed->find("exit status 3"), std::string::npos) << *wineFailed;

    MakeProgram("xdg-open", "#!/bin/sh\nexit 4\n");
    temp_.WriteFile("Start/qarn_readme.htm", "<html></html>");
    EXPECT_EQ(CreateSystemLauncher()->Open("qarn_readme.htm", temp_.path() + "Start"),
              "No application could open the document.\n");
}

TEST_F(SystemLauncherTest, AnEarlyFailureIsSeenEvenWhenTheToolLetsTheSystemReapItsChildren) {
    MakeProgram("wine", "#!/bin/sh\nexit 5\n");
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGCHLD, &ignore, &previous);
    const auto wineFailed = StartZeus(gameFolder_);
    ::sigaction(SIGCHLD, &previous, nullptr);

    ASSERT_TRUE(wineFailed);
    EXPECT_NE(wineFailed->find("exit status 5"), std::string::npos) << *wineFailed;
}

// The game runs on in a session of its own, in its folder, with its program as argument, and
// the launcher has returned while it still runs.
TEST_F(SystemLauncherTest, StartsTheGameDetachedInItsFolder) {
    const std::string record = temp_.path() + "record";
    // The stand-in game lets go of the test's output, so that nothing waits for it to end.
    std::string script = "#!/bin/sh\n";
    script += "{ pwd -P; echo \"$1\"; echo $$; } > '" + record + ".part'\n";
    script += "/bin/mv '" + record + ".part' '" + record + "'\n";
    script += "exec /bin/sleep 30 </dev/null >/dev/null 2>&1\n";
    MakeProgram("wine", script);

    ASSERT_EQ(StartZeus(gameFolder_), std::nullopt);

    std::optional<std::string> recorded;
    for (int attempt = 0; attempt < 500 && !recorded; ++attempt) {
        recorded = ReadFileBytes(record);
        if (!recorded) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(recorded) << "the started program left no record";
    char* realFolder = ::realpath(gameFolder_.c_str(), nullptr);
    const std::string folder = realFolder;
    std::free(realFolder);
    const std::string::size_type pidAt = recorded->rfind('\n', recorded->size() - 2) + 1;
    const pid_t pid = std::stoi(recorded->substr(pidAt));
    EXPECT_EQ(recorded->substr(0, pidAt), folder + "\n" + gameFolder_ + "zeus.exe\n");

    EXPECT_EQ(::kill(pid, 0), 0) << "the launcher waited for the game to end";
    EXPECT_NE(::getsid(pid), ::getsid(0));
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1) << "the game is a child of the tool";
    ::kill(pid, SIGTERM);
}

}  // namespace
}  // namespace wendmoor
