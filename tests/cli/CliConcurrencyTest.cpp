// Several real processes on one game tree: what every command does while another holds the
// folders, commands that go at the same moment, and commands stopped by signals.
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CliFixture.h"
#include "platform/BackupLocation.h"
#include "platform/PackageLock.h"

namespace wendmoor::testing {
namespace {

using namespace std::chrono_literals;

class CliConcurrencyTest : public CliTest {
  protected:
    CliConcurrencyTest() {
        std::filesystem::create_directories(DefaultBackupStoreFolder());
        AddPackage(paths.caesar3_missions, "A.zip",
                   ZipWriter().Add("shared.map", "m").Add("a.sav", "a"));
        AddPackage(paths.caesar3_missions, "B.zip",
                   ZipWriter().Add("shared.map", "m").Add("b.sav", "b"));
    }

    bool Exists(const std::string& path) const { return std::filesystem::exists(path); }

    // Our temporary files anywhere in the fixture.
    int TemporaryFiles() const {
        int count = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
            if (entry.path().filename().string().starts_with(kTemporaryPrefix)) ++count;
        }
        return count;
    }

    // Every folder a command of Caesar III or a backup command may lock.
    std::vector<std::string> Folders() const {
        return {paths.caesar3_missions, paths.caesar3_path, DefaultBackupStoreFolder()};
    }

    // Waits until `count` processes wait for a lock on the folders (as the system's table of
    // locks tells); false after 10 s.
    bool Waiting(int count) const {
        std::vector<std::string> identities;
        for (const std::string& folder : Folders()) {
            struct stat info;
            if (::stat(folder.c_str(), &info) != 0) continue;
            char identity[64];
            std::snprintf(identity, sizeof identity, "%02x:%02x:%llu", major(info.st_dev),
                          minor(info.st_dev), static_cast<unsigned long long>(info.st_ino));
            identities.push_back(identity);
        }
        for (const auto deadline = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(2ms)) {
            int waiting = 0;
            std::ifstream locks("/proc/locks");
            for (std::string line; std::getline(locks, line);) {
                if (line.find("-> FLOCK") == std::string::npos) continue;
                for (const std::string& identity : identities) {
                    if (line.find(" " + identity + " ") != std::string::npos) ++waiting;
                }
            }
            if (waiting >= count) return true;
        }
        return false;
    }
};

TEST_F(CliConcurrencyTest, WithTheFoldersHeldNoWaitFailsAtOnceAndChangesNothing) {
    const std::string file =
        root.WriteFile("download/C.zip", ZipWriter().Add("c.map", "c").Bytes());
    ASSERT_EQ(Cli({"install", "caesar3", "B.zip"}).exitCode, 0);
    const std::vector<std::vector<std::string>> commands = {
        {"list", "caesar3"},
        {"refs", "caesar3"},
        {"show", "caesar3", "A.zip"},
        {"install", "caesar3", "A.zip"},
        {"deinstall", "caesar3", "B.zip"},
        {"add", "caesar3", file},
        {"add", "caesar3", file, "--install"},
        {"backups", "caesar3"},
        {"backups", "caesar3", "--remove", "caesar3-1"},
        {"restore", "caesar3", "caesar3-1"},
    };
    const std::string before = TreeWithBytes(root.path());
    PackageLock other;
    ASSERT_TRUE(other.Acquire(PackageLock::Mode::Exclusive, Folders(), {}).Ok());
    for (std::vector<std::string> command : commands) {
        SCOPED_TRACE(command.at(0) + " " + command.back());
        command.insert(command.begin(), "--no-wait");
        const ProgramRun refused = Cli(command);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_TRUE(refused.err.starts_with("wendmoor-cli: ")) << refused.err;
        EXPECT_NE(refused.err.find(kFolderInUse), std::string::npos) << refused.err;
        EXPECT_EQ(TreeWithBytes(root.path()), before);
    }
}

// Two commands that both wait for the folders and then go at once: every order of the two ends
// alike. Without the lock, the counts one process acted on could be outdated by the other.
TEST_F(CliConcurrencyTest, CommandsAtTheSameMomentNeverLoseNorOrphanASharedMap) {
    const std::string map = paths.caesar3_path + "shared.map";
    struct Race {
        std::vector<std::string> installedBefore;
        std::vector<std::string> first, second;
        bool mapAfter;
    };
    const Race races[] = {
        // A installed: one deinstalls A while the other installs B; B needs the map.
        {{"A.zip"}, {"deinstall", "caesar3", "A.zip"}, {"install", "caesar3", "B.zip"}, true},
        // Both installed and both go: the last one out takes the map.
        {{"A.zip", "B.zip"},
         {"deinstall", "caesar3", "A.zip"},
         {"deinstall", "caesar3", "B.zip"},
         false},
    };
    for (const Race& race : races) {
        for (const bool swapped : {false, true}) {
            SCOPED_TRACE(race.first.at(0) + (swapped ? " second" : " first"));
            for (const char* name : {"A.zip", "B.zip"}) (void)Cli({"deinstall", "caesar3", name});
            for (const std::string& name : race.installedBefore) {
                ASSERT_EQ(Cli({"install", "caesar3", name}).exitCode, 0);
            }
            PackageLock hold;
            ASSERT_TRUE(hold.Acquire(PackageLock::Mode::Exclusive, Folders(), {}).Ok());
            const pid_t one = Start(swapped ? race.second : race.first);
            ASSERT_TRUE(Waiting(1));
            const pid_t two = Start(swapped ? race.first : race.second);
            ASSERT_TRUE(Waiting(2));
            hold.Release();
            EXPECT_EQ(Wait(one), 0);
            EXPECT_EQ(Wait(two), 0);
            EXPECT_EQ(Exists(map), race.mapAfter);
            EXPECT_FALSE(Exists(paths.caesar3_path + "a.sav"));
        }
    }
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
