// The lock on the folders themselves: one folder is one lock however it is spelled, unrelated
// folders never wait for each other, and a command that may not wait is told who holds what.
#include "platform/PackageLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <filesystem>
#include <thread>

#include "TempDir.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace wendmoor::testing {
namespace {

using Mode = PackageLock::Mode;
using namespace std::chrono_literals;

const PackageLock::KeepWaiting never = [](std::chrono::milliseconds) { return false; };

class PackageLockTest : public ::testing::Test {
  protected:
    TempDir dir;
    const std::string games = dir.MakeFolder("games");
    const std::string other = dir.MakeFolder("other");
};

TEST_F(PackageLockTest, OneFolderIsOneLockHoweverItIsSpelled) {
    std::vector<std::string> spellings = {games, games + "sub/../"};
    dir.MakeFolder("games/sub");
#ifdef _WIN32
    std::string upper = games;  // one folder on Windows
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    spellings.push_back(upper);
#else
    std::filesystem::create_directory_symlink(games, dir.At("link"));
    spellings.push_back(dir.At("link"));
#endif
    PackageLock holder;
    ASSERT_TRUE(holder.Acquire(Mode::Exclusive, {games}, never).Ok());
    for (const std::string& spelling : spellings) {
        SCOPED_TRACE(spelling);
        PackageLock second;
        const Outcome refused = second.Acquire(Mode::Shared, {other, spelling}, never);
        ASSERT_EQ(refused.Failures().size(), 1u);
        EXPECT_EQ(refused.Failures().front().subject, spelling);
        EXPECT_TRUE(refused.Failures().front().reason.starts_with(kFolderInUse))
            << refused.Lines().front();
#ifndef _WIN32
        // Who holds it, where the system tells.
        EXPECT_NE(refused.Lines().front().find("process " + std::to_string(::getpid())),
                  std::string::npos)
            << refused.Lines().front();
#endif
    }
    // A folder named twice by one command is taken once, and a missing one not at all.
    holder.Release();
    PackageLock twice;
    EXPECT_TRUE(twice.Acquire(Mode::Exclusive, spellings, never).Ok());
    PackageLock missing;
    EXPECT_TRUE(missing.Acquire(Mode::Exclusive, {dir.At("not there/")}, never).Ok());
}

TEST_F(PackageLockTest, UnrelatedFoldersAndReadersDoNotWait) {
    PackageLock writer;
    ASSERT_TRUE(writer.Acquire(Mode::Exclusive, {games}, never).Ok());
    PackageLock elsewhere;
    EXPECT_TRUE(elsewhere.Acquire(Mode::Exclusive, {other}, never).Ok());
    writer.Release();

    PackageLock reader;
    ASSERT_TRUE(reader.Acquire(Mode::Shared, {games}, never).Ok());
    PackageLock refusedWriter;
    EXPECT_FALSE(refusedWriter.Acquire(Mode::Exclusive, {games}, never).Ok());
#ifndef _WIN32  // a mutex knows no shared hold: readers take turns there
    PackageLock secondReader;
    EXPECT_TRUE(secondReader.Acquire(Mode::Shared, {games}, never).Ok());
#endif
}

TEST_F(PackageLockTest, AWaiterGetsTheFoldersWhenTheyAreReleased) {
    std::atomic<bool> holding = false;
    std::atomic<bool> release = false;
    std::thread holder([&] {
        PackageLock lock;
        ASSERT_TRUE(lock.Acquire(Mode::Exclusive, {games}, never).Ok());
        holding = true;
        while (!release) std::this_thread::sleep_for(1ms);
    });
    while (!holding) std::this_thread::sleep_for(1ms);
    int asked = 0;
    PackageLock waiter;
    const Outcome taken =
        waiter.Acquire(Mode::Exclusive, {other, games}, [&](std::chrono::milliseconds) {
            release = ++asked >= 2;
            return true;
        });
    holder.join();
    EXPECT_TRUE(taken.Ok());
    EXPECT_GE(asked, 2);
}

// Two commands naming the same folders in opposite orders: taken in one order by both, so
// neither ever holds one and waits for the other's.
TEST_F(PackageLockTest, OppositeOrdersNeverWaitInACircle) {
#ifdef _WIN32
    constexpr int kRounds = 300;  // each hold asks the system's object manager (the Wine server)
#else
    constexpr int kRounds = 5000;
#endif
    std::atomic<int> ready = 0;
    const auto run = [&](std::vector<std::string> folders) {
        for (++ready; ready < 2;) {
        }
        for (int round = 0; round < kRounds; ++round) {
            PackageLock lock;
            ASSERT_TRUE(lock.Acquire(Mode::Exclusive, folders, {}).Ok());
        }
    };
    std::thread forward(run, std::vector<std::string>{games, other});
    std::thread backward(run, std::vector<std::string>{other, games});
    forward.join();
    backward.join();
}

}  // namespace
}  // namespace wendmoor::testing
