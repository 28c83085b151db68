// The directory of an archive is served to zziplib from one read of its tail; these cases put
// the directory and the entries at the edges of that copy.
#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/Archive.h"
#include "platform/FileSystem.h"

namespace wendmoor {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using testing::ZipWriter;

std::string NumberedName(int index) {
    char name[64];
    std::snprintf(name, sizeof name, "Scenarios/a-rather-long-folder-name/Part%05d.map", index);
    return name;
}

std::string DataOf(int index) {
    return "map " + std::to_string(index) + std::string(static_cast<std::size_t>(index % 97), 'x');
}

// The archive with a comment of `size` bytes after its end record.
std::string WithComment(std::string archive, std::size_t size) {
    archive[archive.size() - 2] = static_cast<char>(size & 0xff);
    archive[archive.size() - 1] = static_cast<char>(size >> 8);
    return archive + std::string(size, 'c');
}

class ArchiveIoTest : public ::testing::Test {
  protected:
    // Extracts the entry and compares its bytes.
    void ExpectExtracts(Archive& archive, const std::string& entry, const std::string& bytes) {
        const std::string target = dir.path() + "out.map";
        ASSERT_TRUE(ExtractEntry(archive, entry, target, fileSystem).Ok()) << entry;
        EXPECT_EQ(ReadFileBytes(target), bytes) << entry;
    }

    TempDir dir;
    FileSystem fileSystem;
};

TEST_F(ArchiveIoTest, DirectoryLargerThanTheTailIsReadWhole) {
    // About 3,000 names of 50 bytes: a directory of nearly 300 KiB, most of it before the
    // last 64 KiB of the file.
    constexpr int kEntries = 3000;
    ZipWriter zip;
    std::vector<std::string> names;
    for (int i = 0; i < kEntries; ++i) {
        names.push_back(NumberedName(i));
        zip.Add(names.back(), DataOf(i),
                i % 2 ? ZipWriter::Method::Stored : ZipWriter::Method::Deflated);
    }
    const std::string path = dir.path() + "large.zip";
    ASSERT_TRUE(zip.WriteTo(path));

    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->EntryNames(), names);
    for (const int i : {0, 1, kEntries / 2, kEntries - 2, kEntries - 1}) {
        ExpectExtracts(*archive, names[static_cast<std::size_t>(i)], DataOf(i));
    }
}

TEST_F(ArchiveIoTest, CommentsOfEverySizeAroundTheEndRecord) {
    const std::string plain =
        ZipWriter().Add("Rome.map", "rome").Add("Rome.sav", std::string(70000, 's')).Bytes();
    for (const std::size_t comment :
         {std::size_t{0}, std::size_t{1}, std::size_t{40000}, std::size_t{0xffff}}) {
        const std::string path = dir.path() + "commented.zip";
        ASSERT_TRUE(WriteFileBytes(path, WithComment(plain, comment)));
        const auto archive = Archive::Open(path);
        ASSERT_TRUE(archive) << comment;
        EXPECT_EQ(archive->EntryNames(), (std::vector<std::string>{"Rome.map", "Rome.sav"}));
        ExpectExtracts(*archive, "Rome.sav", std::string(70000, 's'));
        ExpectExtracts(*archive, "Rome.map", "rome");
    }
}

TEST_F(ArchiveIoTest, ArchivesOpenAtOnceKeepTheirOwnReads) {
    const std::string first = dir.path() + "first.zip";
    const std::string second = dir.path() + "second.zip";
    ASSERT_TRUE(ZipWriter().Add("a.map", "first a").Add("b.map", "first b").WriteTo(first));
    ASSERT_TRUE(ZipWriter().Add("b.map", "second b").Add("a.map", "second a").WriteTo(second));
    auto one = Archive::Open(first);
    const auto two = Archive::Open(second);
    ASSERT_TRUE(one && two);
    ExpectExtracts(*one, "a.map", "first a");
    ExpectExtracts(*two, "a.map", "second a");
    ExpectExtracts(*one, "b.map", "first b");
    one.reset();
    ExpectExtracts(*two, "b.map", "second b");
    // A descriptor number used again after a close starts without the old copy.
    const auto three = Archive::Open(second);
    ASSERT_TRUE(three);
    ExpectExtracts(*three, "a.map", "second a");
}

}  // namespace
}  // namespace wendmoor
