// Several real processes on one game tree: commands at the same moment, a command that waits for
// another, and commands stopped by signals.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CliFixture.h"
#include "platform/PackageLock.h"

namespace wendmoor::testing {
namespace {

using namespace std::chrono_literals;

class CliConcurrencyTest : public CliTest {
  protected:
    bool Exists(const std::string& path) const { return std::filesystem::exists(path); }

    // Our temporary files anywhere in the fixture.
    int TemporaryFiles() const {
        int count = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
            if (entry.path().filename().string().starts_with(kTemporaryPrefix)) ++count;
        }
        return count;
    }
};

TEST_F(CliConcurrencyTest, CommandsAtTheSameMomentNeverLoseNorOrphanASharedMap) {
    AddPackage(paths.caesar3_missions, "A.zip",
               ZipWriter().Add("shared.map", "m").Add("a.sav", "a"));
    AddPackage(paths.caesar3_missions, "B.zip",
               ZipWriter().Add("shared.map", "m").Add("b.sav", "b"));
    const std::string map = paths.caesar3_path + "shared.map";
    ASSERT_EQ(Cli({"install", "caesar3", "A.zip"}).exitCode, 0);

    // The lock makes every order of the two commands end alike; without it the counts one
    // process acted on could be outdated by the other.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    for (int round = 0; round < 40 && std::chrono::steady_clock::now() < deadline; ++round) {
        // A installed: one deinstalls A while the other installs B.
        const pid_t swapOut = Start({"deinstall", "caesar3", "A.zip"});
        const pid_t swapIn = Start({"install", "caesar3", "B.zip"});
        EXPECT_EQ(Wait(swapOut), 0);
        EXPECT_EQ(Wait(swapIn), 0);
        ASSERT_TRUE(Exists(map)) << "round " << round << ": B is installed and needs its map";
        ASSERT_FALSE(Exists(paths.caesar3_path + "a.sav")) << round;

        // Then A comes back and both go at once: the last one out takes the map.
        ASSERT_EQ(Cli({"install", "caesar3", "A.zip"}).exitCode, 0);
        const pid_t first = Start({"deinstall", "caesar3", "A.zip"});
        const pid_t second = Start({"deinstall", "caesar3", "B.zip"});
        EXPECT_EQ(Wait(first), 0);
        EXPECT_EQ(Wait(second), 0);
        ASSERT_FALSE(Exists(map)) << "round " << round << ": no package holds the map";
        ASSERT_EQ(Cli({"install", "caesar3", "A.zip"}).exitCode, 0);
    }
}

TEST_F(CliConcurrencyTest, NoWaitFailsWhileAnotherCommandHoldsTheFolders) {
    AddPackage(paths.caesar3_missions, "A.zip", ZipWriter().Add("a.map", "m"));
    PackageLock lock;
    ASSERT_TRUE(lock.Acquire(PackageLock::Mode::Exclusive, {}).Ok());
    const ProgramRun refused = Cli({"--no-wait", "install", "caesar3", "A.zip"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("another Wendmoor command is running"), std::string::npos);
    EXPECT_FALSE(Exists(paths.caesar3_path + "a.map"));

    // Without --no-wait the command waits for the other one to end, then runs.
    std::thread release([&] {
        std::this_thread::sleep_for(300ms);
        lock.Release();
    });
    const ProgramRun waited = Cli({"install", "caesar3", "A.zip"});
    release.join();
    EXPECT_EQ(waited.exitCode, 0) << waited.err;
    EXPECT_TRUE(Exists(paths.caesar3_path + "a.map"));
}

class StoppedInstallTest : public CliConcurrencyTest {
  protected:
    StoppedInstallTest() {
        // Many small files, each flushed to the disk: slow enough to be caught in writing.
        ZipWriter zip;
        for (int i = 0; i < 4000; ++i) {
            zip.Add(std::to_string(i) + ".map", std::string(512, 'm'), ZipWriter::Method::Stored);
        }
        AddPackage(paths.caesar3_missions, "many.zip", zip);
        AddPackage(paths.caesar3_missions, "one.zip", ZipWriter().Add("one.map", "o"));
    }

    // Starts the install and stops it with the signal once its first temporary file exists.
    int InstallStoppedBy(int signal) {
        const pid_t child = Start({"install", "caesar3", "many.zip"});
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (TemporaryFiles() == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        ::kill(child, signal);
        return Wait(child);
    }
};

TEST_F(StoppedInstallTest, CatchableSignalsRemoveTheTemporaryFilesAndReplaceNothing) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const int status = InstallStoppedBy(signal);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the install ended before it was stopped";
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(TemporaryFiles(), 0) << signal;
        EXPECT_EQ(ListTree(paths.caesar3_path), "") << signal;
    }
}

}  // namespace
}  // namespace wendmoor::testing
