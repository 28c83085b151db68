// An archive's directory is read from one read of its tail, and its entries through a window of
// the file that serves many small entries at once; these cases put the directory and the
// entries at the edges of those reads.
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

class ArchiveLayoutTest : public ::testing::Test {
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

TEST_F(ArchiveLayoutTest, DirectoryLargerThanTheTailIsReadWhole) {
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

TEST_F(ArchiveLayoutTest, CommentsOfEverySizeAroundTheEndRecord) {
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

TEST_F(ArchiveLayoutTest, ArchivesOpenAtOnceKeepTheirOwnReads) {
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

// Bytes deflate cannot shrink, so the entry's data spans several reads of the file.
std::string NoiseOf(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

TEST_F(ArchiveLayoutTest, EntriesLargerThanOneReadComeWholeInAnyOrder) {
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"a.map", "small stored"},
        {"b.map", NoiseOf(200000, 1)},
        {"c.map", NoiseOf(150000, 2)},
        {"d.map", std::string(100, 'd')},
    };
    ZipWriter zip;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        zip.Add(entries[i].first, entries[i].second,
                i % 2 ? ZipWriter::Method::Deflated : ZipWriter::Method::Stored);
    }
    const std::string path = dir.path() + "wide.zip";
    ASSERT_TRUE(zip.WriteTo(path));
    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        ExpectExtracts(*archive, it->first, it->second);
    }
    for (const auto& [name, bytes] : entries) ExpectExtracts(*archive, name, bytes);
}

TEST_F(ArchiveLayoutTest, EntriesWrittenWithADataDescriptorUseTheDirectorysSizes) {
    // Such an archive announces the sizes and checksum after the data; its local headers
    // leave them zero.
    const std::vector<std::pair<std::string, ZipWriter::Method>> entries = {
        {"deflated.map", ZipWriter::Method::Deflated}, {"stored.sav", ZipWriter::Method::Stored}};
    ZipWriter zip;
    for (const auto& [name, method] : entries)
        zip.Add({name, "data of " + name, method, {}, 8, {}});
    std::string bytes = zip.Bytes();
    for (std::size_t at = 0; (at = bytes.find(std::string("PK\3\4", 4), at)) != std::string::npos;
         at += 4) {
        for (std::size_t field = 14; field < 26; ++field) bytes[at + field] = '\0';
    }
    const std::string path = dir.path() + "descriptor.zip";
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    for (const auto& [name, method] : entries) ExpectExtracts(*archive, name, "data of " + name);
}

}  // namespace
}  // namespace wendmoor
