#include "platform/ReadOnlyFile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "TempDir.h"

namespace wendmoor::testing {
namespace {

// Regular files only, read as they are (no text mode) at any offset up to their size; "the same
// file" without the C library's device and inode numbers, which Windows leaves zero.
TEST(ReadOnlyFileTest, OpensRegularFilesReadsAtOffsetsAndTellsTheSameFile) {
    const TempDir dir;
    const std::string bytes = std::string("line\r\n\x1a\0end", 11);
    dir.MakeFolder("folder.bin");
    ReadOnlyFile file, again, equal, folder, missing;
    ASSERT_TRUE(file.Open(dir.WriteFile("f.bin", bytes)).Ok());
    EXPECT_EQ(file.Size(), bytes.size());
    EXPECT_EQ(folder.Open(dir.At("folder.bin")).Lines(),
              (std::vector<std::string>{dir.At("folder.bin") + ": is a folder, not a file"}));
    EXPECT_EQ(folder.LastFailure(), ReadOnlyFile::Failure::NotAFile);
    EXPECT_FALSE(missing.Open(dir.At("missing.bin")).Ok());
    EXPECT_EQ(missing.LastFailure(), ReadOnlyFile::Failure::Missing);
    const std::tuple<std::uint64_t, std::size_t, std::string> cases[] = {
        {0, 100, bytes}, {4, 3, "\r\n\x1a"}, {8, 100, "end"}, {11, 5, ""}, {50, 5, ""}};
    for (const auto& [offset, size, expected] : cases) {
        std::string buffer(size, '?');
        std::size_t got = 99;
        EXPECT_TRUE(file.ReadAt(offset, buffer.data(), size, got).Ok()) << offset;
        EXPECT_EQ(buffer.substr(0, got), expected) << offset;
    }
    ASSERT_TRUE(again.Open(dir.At("f.bin")).Ok() && equal.Open(dir.WriteFile("e.bin", bytes)).Ok());
    EXPECT_EQ(file.Identity(), again.Identity());
    EXPECT_NE(file.Identity(), equal.Identity());
}

}  // namespace
}  // namespace wendmoor::testing
