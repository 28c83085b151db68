// An archive's directory is read from one read of its tail, and its entries through a window of
// the file that serves many small entries at once; these cases put the directory and the
// entries at the edges of those reads. Every entry must come out whole, in any order.
#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"
#include "ZipWriter.h"
#include "archive/Archive.h"
#include "platform/FileSystem.h"

namespace wendmoor::testing {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// The entries, every other one stored and the rest deflated.
ZipWriter ZipOf(const Entries& entries) {
    ZipWriter zip;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [name, bytes] = entries[i];
        zip.Add(name, bytes, i % 2 ? ZipWriter::Method::Stored : ZipWriter::Method::Deflated);
    }
    return zip;
}

class ArchiveLayoutTest : public ::testing::Test {
  protected:
    // Extracts the entry and compares its bytes.
    void ExpectExtracts(Archive& archive, const std::string& entry, const std::string& bytes) {
        const std::string target = dir.path() + "out.map";
        ASSERT_TRUE(ExtractEntry(archive, entry, target, fileSystem).Ok()) << entry;
        EXPECT_EQ(ReadFileBytes(target), bytes) << entry;
    }

    // Opens the archive, compares its names with the entries' and extracts the entries at
    // `picked` (every entry when empty) last to first, then first to last.
    void ExpectArchive(const std::string& bytes, const Entries& entries,
                       std::vector<std::size_t> picked = {}) {
        const std::string path = dir.WriteFile("layout.zip", bytes);
        const auto archive = Archive::Open(path);
        ASSERT_TRUE(archive);
        std::vector<std::string> names;
        for (const auto& entry : entries) names.push_back(entry.first);
        EXPECT_EQ(archive->EntryNames(), names);
        for (std::size_t i = 0; picked.empty() && i < entries.size(); ++i) picked.push_back(i);
        for (auto it = picked.rbegin(); it != picked.rend(); ++it) {
            ExpectExtracts(*archive, entries[*it].first, entries[*it].second);
        }
        for (const std::size_t i : picked) {
            ExpectExtracts(*archive, entries[i].first, entries[i].second);
        }
    }

    testing::TempDir dir;
    FileSystem fileSystem;
};

TEST_F(ArchiveLayoutTest, DirectoryLargerThanTheTailIsReadWhole) {
    // About 3,000 names of 50 bytes: a directory of nearly 300 KiB, most of it before the
    // last 64 KiB of the file.
    Entries entries;
    for (int i = 0; i < 3000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Scenarios/a-rather-long-folder-name/Part%05d.map", i);
        entries.emplace_back(name, "map " + std::to_string(i) + std::string(i % 97, 'x'));
    }
    ExpectArchive(ZipOf(entries).Bytes(), entries, {0, 1, 1500, 2998, 2999});
}

TEST_F(ArchiveLayoutTest, CommentsOfEverySizeAroundTheEndRecord) {
    const Entries entries = {{"Rome.map", "rome"}, {"Rome.sav", std::string(70000, 's')}};
    for (const std::size_t size : {0, 1, 40000, 0xffff}) {
        std::string bytes = ZipOf(entries).Bytes();
        bytes[bytes.size() - 2] = static_cast<char>(size & 0xff);
        bytes[bytes.size() - 1] = static_cast<char>(size >> 8);
        ExpectArchive(bytes + std::string(size, 'c'), entries);
    }
}

TEST_F(ArchiveLayoutTest, ArchivesOpenAtOnceKeepTheirOwnReads) {
    const std::string first =
        dir.WriteFile("first.zip", ZipOf({{"a.map", "first a"}, {"b.map", "first b"}}).Bytes());
    const std::string second =
        dir.WriteFile("second.zip", ZipOf({{"b.map", "second b"}, {"a.map", "second a"}}).Bytes());
    auto one = Archive::Open(first);
    const auto two = Archive::Open(second);
    ASSERT_TRUE(one && two);
    ExpectExtracts(*one, "a.map", "first a");
    ExpectExtracts(*two, "a.map", "second a");
    ExpectExtracts(*one, "b.map", "first b");
    one.reset();
    ExpectExtracts(*two, "b.map", "second b");
}

}  // namespace
}  // namespace wendmoor::testing
