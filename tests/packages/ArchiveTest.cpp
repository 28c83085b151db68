#include "packages/Archive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "GameTree.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/EntryReader.h"
#include "packages/StoredName.h"
#include "platform/FileSystem.h"

namespace wendmoor::testing {
namespace {

class ArchiveTest : public ::testing::Test {
  protected:
    std::string MakeArchive(const ZipWriter& zip, const std::string& name = "package.zip") {
        const std::string path = dir.path() + name;
        EXPECT_TRUE(zip.WriteTo(path));
        return path;
    }

    TempDir dir;
    FileSystem fileSystem;
};

TEST_F(ArchiveTest, ListsEntryNamesInDirectoryOrderAsStored) {
    const auto archive = Archive::Open(MakeArchive(ZipWriter()
                                                       .AddFolder("Scenarios/")
                                                       .Add("Scenarios/Rome.MAP", "map")
                                                       .Add("Troy\\Troy.pak", "pak")
                                                       .Add("readme.txt", "text")));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->EntryNames(), (std::vector<std::string>{"Scenarios/", "Scenarios/Rome.MAP",
                                                               "Troy\\Troy.pak", "readme.txt"}));
}

// The name an entry is installed under, for ordinary and hostile entry names.
TEST(StoredNameTest, BaseNameWithItsExtensionLowerCasedOrNothing) {
    const std::string longest = std::string(kMaxStoredNameLength - 4, 'n') + ".MAP";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"Scenarios/Rome.MAP", "Rome.map"},
        {"ROME.Map", "ROME.map"},
        {"Troy.PAZ", "Troy.paz"},
        {"Scenarios/", std::nullopt},
        {"notes", std::nullopt},
        {"../../evil.map", "evil.map"},
        {"/tmp/abs.sav", "abs.sav"},
        {"..\\..\\evil.map", "..\\..\\evil.map"},
        {"a/..", std::nullopt},
        {"f/" + longest, std::string(kMaxStoredNameLength - 4, 'n') + ".map"},
        {"f/n" + longest, std::nullopt},
    };
    for (const auto& [entry, stored] : cases) {
        EXPECT_EQ(StoredNameOf(entry), stored) << entry.substr(0, 40);
    }
}

TEST_F(ArchiveTest, RefusesWhatIsNoArchiveWithTheReason) {
    const std::string noZip = "cannot be read as a ZIP archive";
    std::string truncated = ZipWriter().Add("a.map", "some map bytes").Bytes();
    truncated.resize(truncated.size() - 10);
    const std::string fifo = dir.path() + "pipe.zip";  // refused without blocking
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The archive library alone would open "x.zip" when asked for a missing "x".
    MakeArchive(ZipWriter().Add("a.map", "m"), "x.zip");
    const std::pair<std::string, std::string> cases[] = {
        {dir.WriteFile("text.zip", "just some text, not an archive"), noZip},
        {dir.WriteFile("empty.zip", ""), noZip},
        {dir.WriteFile("truncated.zip", truncated), noZip},
        {dir.MakeFolder("folder.zip"), "is not a regular file"},
        {fifo, "is not a regular file"},
        {dir.path() + "x", std::strerror(ENOENT)},
    };
    for (const auto& [path, reason] : cases) {
        Outcome why;
        EXPECT_FALSE(Archive::Open(path, &why)) << path;
        EXPECT_EQ(why.Lines(), (std::vector<std::string>{path + ": " + reason}));
    }
    EXPECT_TRUE(Archive::Open(dir.path() + "x.zip"));
}

TEST_F(ArchiveTest, FailedOpenLeaksNoDescriptor) {
    const std::string bad = dir.WriteFile("bad.zip", std::string(100, 'x'));
    const int before = ::open("/dev/null", O_RDONLY);
    ::close(before);
    for (int i = 0; i < 50; ++i) EXPECT_FALSE(Archive::Open(bad));
    const int after = ::open("/dev/null", O_RDONLY);
    ::close(after);
    EXPECT_EQ(before, after);
}

class ExtractTest : public ArchiveTest {};

// An entry is found by its file name alone, without regard to case or folder, as the archive
// library matches names: the first of several with that name wins, and backslashes and
// punctuation are ordinary bytes.
TEST_F(ExtractTest, FindsTheFirstEntryOfTheFileNameWithoutRegardToCaseOrFolder) {
    const auto archive = Archive::Open(MakeArchive(ZipWriter()
                                                       .Add("Maps/Rome.MAP", "rome")
                                                       .Add("two/Rome.map", "second")
                                                       .Add("dir/A\\B.map", "1")
                                                       .Add("a\\b.MAP", "22")
                                                       .Add("[x]_^@.sav", "333")
                                                       .Add("empty.sav", "")));
    ASSERT_TRUE(archive);
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"rome.map", "rome"},  {"other/ROME.map", "rome"}, {"a\\b.map", "1"},
        {"[X]_^@.SAV", "333"}, {"empty.sav", ""},          {"troy.map", std::nullopt},
    };
    for (const auto& [entry, bytes] : cases) {
        const std::string target = dir.path() + "out";
        EXPECT_EQ(ExtractEntry(*archive, entry, target, fileSystem).Ok(), bytes.has_value())
            << entry;
        EXPECT_EQ(ReadFileBytes(target), bytes) << entry;
        std::remove(target.c_str());
    }
}

// Each entry comes out whole whatever the buffer: larger than what is due, or ending inside the
// last piece; a damaged deflate stream gives its reason (and leaves no zlib state behind).
TEST_F(ArchiveTest, EntryReaderFillsWholeBuffersAndReportsDamage) {
    std::string noise(100000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) >> 5);
    const std::string text = std::string(20000, 'x') + "tail";
    std::string bytes = ZipWriter()
                            .Add("text.map", text)
                            .Add("noise.map", noise)
                            .Add("stored.map", noise, ZipWriter::Method::Stored)
                            .Add("empty.map", "")
                            .Add("damaged.map", text)
                            .Bytes();
    // Block type 3 does not exist: inflate fails on the first byte.
    bytes[testing::EntryDataOf(bytes, "damaged.map")] = static_cast<char>(0xff);
    const std::string path = dir.WriteFile("entries.zip", bytes);
    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    ReadOnlyFile file;
    ASSERT_TRUE(file.Open(path).Ok());
    const struct {
        const char* entry;
        std::size_t buffer;
        std::optional<std::string> bytes;  // nothing: damaged
    } cases[] = {
        {"text.map", 1 << 20, text},  {"text.map", 7, text},
        {"noise.map", 65536, noise},  {"noise.map", 99999, noise},
        {"stored.map", 65536, noise}, {"stored.map", 1000, noise},
        {"empty.map", 10, ""},        {"damaged.map", 65536, std::nullopt},
    };
    EntryReader reader(file);
    for (const auto& c : cases) {
        ASSERT_TRUE(reader.Open(*archive->RecordFor(c.entry), c.entry).Ok()) << c.entry;
        std::string read, buffer(c.buffer, '\0');
        std::size_t got = 0;
        Outcome outcome;
        do {
            outcome = reader.Read(buffer.data(), buffer.size(), got);
            read.append(buffer, 0, got);
        } while (outcome.Ok() && got == buffer.size());
        if (c.bytes) {
            EXPECT_TRUE(outcome.Ok()) << c.entry;
            EXPECT_TRUE(read == *c.bytes) << c.entry << " with " << c.buffer;
            EXPECT_TRUE(reader.Read(buffer.data(), buffer.size(), got).Ok() && got == 0);
        } else {
            EXPECT_EQ(
                outcome.Lines(),
                (std::vector<std::string>{"damaged.map: is damaged (its data cannot be read)"}));
        }
    }
}

}  // namespace
}  // namespace wendmoor::testing
