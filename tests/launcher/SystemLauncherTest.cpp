#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "ScopedVariable.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/Launcher.h"
#include "platform/LauncherDesktop.h"

namespace wendmoor::testing {
namespace {

std::string SystemText(int error) {
    return std::string(std::strerror(error)) + "\n";
}

// The real launcher, with wine and xdg-open replaced by programs the test writes into a PATH
// of its own; nothing outside the temporary folder is started. Programs are watched briefly.
class SystemLauncherTest : public ::testing::Test {
  protected:
    static constexpr std::chrono::milliseconds kGameWatch{400};

    SystemLauncherTest()
        : bin_(temp_.MakeFolder("bin")),
          path_("PATH", bin_ + ":/usr/bin:/bin"),
          gameFolder_(temp_.MakeFolder("Games/Zeus")),
          launcher_(CreateDesktopLauncher(StartDetached, kGameWatch)) {
        temp_.WriteFile("Games/Zeus/zeus.exe", "MZ");
        temp_.WriteFile("Start/qarn_readme.htm", "<html></html>");
    }

    void MakeProgram(const std::string& name, const std::string& bytes) {
        ::chmod(temp_.WriteFile("bin/" + name, bytes).c_str(), 0755);
    }

    std::optional<LaunchFailure> StartZeus(const std::string& folder) {
        return AwaitLaunch(launcher_->Open(gameFolder_ + "zeus.exe", folder));
    }
    std::optional<std::string> StartZeusReason(const std::string& folder) {
        const auto failure = StartZeus(folder);
        return failure ? std::optional<std::string>(failure->reason) : std::nullopt;
    }

    TempDir temp_;
    std::string bin_;
    ScopedVariable path_;
    std::string gameFolder_;
    std::unique_ptr<Launcher> launcher_;
};

// A wine that cannot be executed, or a working folder that cannot be entered: the system's
// reason.
TEST_F(SystemLauncherTest, AStartThatFailsBringsTheSystemsReason) {
    MakeProgram("wine", "#!/no/such/interpreter\n");
    EXPECT_EQ(StartZeusReason(gameFolder_), SystemText(ENOENT));
    MakeProgram("wine", std::string("\x7f\x01\x02garbage", 10));
    EXPECT_EQ(StartZeusReason(gameFolder_), SystemText(ENOEXEC));
    MakeProgram("wine", "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(StartZeusReason(temp_.path() + "Games/Gone/"), SystemText(ENOENT));
}

// What the watch makes of a starter that ends, or goes on, after a while. A game is watched
// for kGameWatch; a document opener until it ends, but not until the programs it started end.
struct WatchCase {
    const char* what;
    const char* starter;
    const char* script;   // its body; "done" stands for a file the test looks for
    const char* reason;   // nullptr: no failure
    const char* details;  // the last lines of its standard error
};

const WatchCase kWatchCases[] = {
    {"wine failing soon", "wine",
     "echo 'wine: could not load zeus.exe: Bad EXE format' >&2\nsleep 0.1\nexit 3",
     "wine could not run the program (exit status 3).\n",
     "wine: could not load zeus.exe: Bad EXE format"},
    {"wine killed", "wine", "kill -SEGV $$", "wine ended on signal 11 (Segmentation fault).\n", ""},
    {"an opener killed", "xdg-open", "kill -TERM $$", "xdg-open ended on signal 15 (Terminated).\n",
     ""},
    {"a game that ends normally within its watch", "wine", "sleep 0.1\nexit 0", nullptr, ""},
    {"a game that fails after its watch", "wine", "sleep 0.8\ntouch done\nexit 1", nullptr, ""},
    {"an opener failing after a game's watch, its last six lines kept", "xdg-open",
     "for i in 1 2 3 4 5 6 7 8; do echo line $i >&2; done\nsleep 0.6\nexit 4",
     "No application could open the document.\n", "line 3\nline 4\nline 5\nline 6\nline 7\nline 8"},
    {"an opener that ends while the program it started runs on", "xdg-open",
     "(sleep 1; touch done) &\nexit 0", nullptr, ""},
};

TEST_F(SystemLauncherTest, AStartIsWatchedForItsTimeAndAFailureBringsTheStartersLastLines) {
    for (const WatchCase& watch : kWatchCases) {
        SCOPED_TRACE(watch.what);
        const std::string done = temp_.path() + "done " + watch.what;
        std::string script = std::string("#!/bin/sh\n") + watch.script + "\n";
        for (std::size_t at; (at = script.find("touch done")) != std::string::npos;)
            script.replace(at, 10, "touch '" + done + "' 2>/dev/null");
        MakeProgram(watch.starter, script);

        const std::optional<LaunchFailure> failure =
            std::string(watch.starter) == "wine"
                ? StartZeus(gameFolder_)
                : AwaitLaunch(launcher_->Open("qarn_readme.htm", temp_.path() + "Start"));

        EXPECT_FALSE(std::filesystem::exists(done)) << "the outcome waited for the starter";
        if (watch.reason == nullptr) {
            EXPECT_EQ(failure ? failure->reason : "", "");
            continue;
        }
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->reason, watch.reason);
        EXPECT_EQ(failure->details, watch.details);
    }
}

TEST_F(SystemLauncherTest, AnEarlyFailureIsSeenEvenWhenTheToolLetsTheSystemReapItsChildren) {
    MakeProgram("wine", "#!/bin/sh\nexit 5\n");
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGCHLD, &ignore, &previous);
    const auto wineFailed = StartZeusReason(gameFolder_);
    ::sigaction(SIGCHLD, &previous, nullptr);

    ASSERT_TRUE(wineFailed);
    EXPECT_NE(wineFailed->find("exit status 5"), std::string::npos) << *wineFailed;
}

// The game runs on in a session of its own, in its folder, with its program as argument and
// none of the tool's descriptors, and the watch has ended while it still runs.
TEST_F(SystemLauncherTest, StartsTheGameDetachedInItsFolder) {
    const std::string record = temp_.path() + "record";
    const int toolsOwn = ::open(temp_.path().c_str(), O_RDONLY);  // inheritable
    ASSERT_GE(toolsOwn, 0);
    std::string script = "#!/bin/sh\n";
    script += "{ pwd -P; echo \"$1\"; ls /proc/$$/fd/" + std::to_string(toolsOwn) +
              " 2>/dev/null || echo none; echo $$; } > '" + record + ".part'\n";
    script += "/bin/mv '" + record + ".part' '" + record + "'\n";
    script += "exec /bin/sleep 30\n";
    MakeProgram("wine", script);

    ASSERT_EQ(StartZeusReason(gameFolder_), std::nullopt);
    ::close(toolsOwn);

    std::optional<std::string> recorded;
    for (int attempt = 0; attempt < 500 && !recorded; ++attempt) {
        recorded = ReadFileBytes(record);
        if (!recorded) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(recorded) << "the started program left no record";
    const std::string folder = std::filesystem::canonical(gameFolder_).string();
    const std::string::size_type pidAt = recorded->rfind('\n', recorded->size() - 2) + 1;
    const pid_t pid = std::stoi(recorded->substr(pidAt));
    EXPECT_EQ(recorded->substr(0, pidAt), folder + "\n" + gameFolder_ + "zeus.exe\nnone\n");

    EXPECT_EQ(::kill(pid, 0), 0) << "the launcher waited for the game to end";
    EXPECT_NE(::getsid(pid), ::getsid(0));
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1) << "the game is a child of the tool";
    ::kill(pid, SIGTERM);
}

}  // namespace
}  // namespace wendmoor::testing
