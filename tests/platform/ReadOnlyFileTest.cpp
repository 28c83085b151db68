#include "platform/ReadOnlyFile.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "TempDir.h"

namespace wendmoor::testing {
namespace {

using Failure = ReadOnlyFile::Failure;

// Only regular files open; anything else is refused at once with a reason, a FIFO without
// waiting for a writer.
TEST(ReadOnlyFileTest, OpensRegularFilesOnlyAndTellsWhyNot) {
    const TempDir dir;
    dir.WriteFile("file.zip", "bytes");
    dir.MakeFolder("folder.zip");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.At("pipe.zip").c_str(), 0600), 0);
#endif
    const struct {
        const char* name;
        Failure failure;
    } cases[] = {
        {"file.zip", Failure::None},
        {"missing.zip", Failure::Missing},
        {"folder.zip", Failure::NotAFile},
#ifndef _WIN32
        {"pipe.zip", Failure::NotAFile},
#endif
    };
    for (const auto& c : cases) {
        ReadOnlyFile file;
        const Outcome opened = file.Open(dir.At(c.name));
        EXPECT_EQ(opened.Ok(), c.failure == Failure::None) << c.name;
        EXPECT_EQ(file.IsOpen(), opened.Ok()) << c.name;
        EXPECT_EQ(file.LastFailure(), c.failure) << c.name;
        if (!opened.Ok()) {
            EXPECT_EQ(opened.Failures().front().subject, dir.At(c.name));
            EXPECT_FALSE(opened.Failures().front().reason.empty()) << c.name;
        }
    }
}

TEST(ReadOnlyFileTest, ReadsAtOffsetsUpToItsSizeWithTheBytesAsTheyAre) {
    const TempDir dir;
    const std::string bytes = std::string("line\r\n\x1a\0end", 11);
    ReadOnlyFile file;
    ASSERT_TRUE(file.Open(dir.WriteFile("f.bin", bytes)).Ok());
    EXPECT_EQ(file.Size(), bytes.size());
    const struct {
        std::uint64_t offset;
        std::size_t size;
        std::string expected;
    } cases[] = {{0, 100, bytes}, {4, 3, "\r\n\x1a"}, {8, 100, "end"}, {11, 5, ""}, {50, 5, ""}};
    for (const auto& c : cases) {
        std::string buffer(c.size, '?');
        std::size_t got = 99;
        EXPECT_TRUE(file.ReadAt(c.offset, buffer.data(), c.size, got).Ok()) << c.offset;
        EXPECT_EQ(buffer.substr(0, got), c.expected) << c.offset;
    }
}

// "The same file" without the C library's device and inode numbers, which Windows leaves zero.
TEST(ReadOnlyFileTest, IdentityTellsTheSameFileFromAnEqualOne) {
    const TempDir dir;
    ReadOnlyFile one, again, equal;
    ASSERT_TRUE(one.Open(dir.WriteFile("one.zip", "same")).Ok());
    ASSERT_TRUE(again.Open(dir.At("one.zip")).Ok());
    ASSERT_TRUE(equal.Open(dir.WriteFile("equal.zip", "same")).Ok());
    EXPECT_EQ(one.Identity(), again.Identity());
    EXPECT_NE(one.Identity(), equal.Identity());
#ifndef _WIN32
    ReadOnlyFile linked;
    ASSERT_EQ(::link(dir.At("one.zip").c_str(), dir.At("linked.zip").c_str()), 0);
    ASSERT_TRUE(linked.Open(dir.At("linked.zip")).Ok());
    EXPECT_EQ(one.Identity(), linked.Identity());
#endif
}

}  // namespace
}  // namespace wendmoor::testing
