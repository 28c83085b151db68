// The command lock between two holders, with its file in a test folder.
#include "platform/PackageLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "TempDir.h"

namespace wendmoor {
namespace {

class PackageLockWindowsTest : public ::testing::Test {
  protected:
    PackageLockWindowsTest() {
        if (const char* local = std::getenv("LOCALAPPDATA")) saved_ = local;
        _putenv_s("LOCALAPPDATA", folder.path().c_str());
    }
    ~PackageLockWindowsTest() override { _putenv_s("LOCALAPPDATA", saved_.c_str()); }

    testing::TempDir folder;
    const PackageLock::KeepWaiting never = [](std::chrono::milliseconds) { return false; };

  private:
    std::string saved_;
};

TEST_F(PackageLockWindowsTest, OneWriterOrManyReaders) {
    EXPECT_EQ(PackageLock::LockFilePath(), folder.path() + "wendmoor.lock");
    PackageLock writer;
    PackageLock other;
    ASSERT_TRUE(writer.Acquire(PackageLock::Mode::Exclusive, never).Ok());
    const Outcome refused = other.Acquire(PackageLock::Mode::Shared, never);
    ASSERT_FALSE(refused.Ok());
    EXPECT_NE(refused.Lines()[0].find("another Wendmoor command is running"), std::string::npos);
    EXPECT_FALSE(other.Acquire(PackageLock::Mode::Exclusive, never).Ok());
    EXPECT_FALSE(other.Held());

    writer.Release();
    PackageLock reader;
    ASSERT_TRUE(other.Acquire(PackageLock::Mode::Shared, never).Ok());
    ASSERT_TRUE(reader.Acquire(PackageLock::Mode::Shared, never).Ok());
    EXPECT_FALSE(writer.Acquire(PackageLock::Mode::Exclusive, never).Ok());
}

TEST_F(PackageLockWindowsTest, AWaiterGetsTheLockWhenItIsReleased) {
    PackageLock holder;
    ASSERT_TRUE(holder.Acquire(PackageLock::Mode::Exclusive, never).Ok());
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        holder.Release();
    });
    int asked = 0;
    PackageLock waiter;
    const Outcome waited =
        waiter.Acquire(PackageLock::Mode::Exclusive, [&](std::chrono::milliseconds time) {
            ++asked;
            return time < std::chrono::seconds(10);
        });
    release.join();
    EXPECT_TRUE(waited.Ok());
    EXPECT_GT(asked, 0);
    EXPECT_TRUE(waiter.Held());
}

}  // namespace
}  // namespace wendmoor
