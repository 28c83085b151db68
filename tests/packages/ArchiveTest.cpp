#include "archive/Archive.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <tuple>

#include "GameTree.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "archive/EntryReader.h"
#include "archive/StoredName.h"
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

// Flag bit 11 means UTF-8, else a Unicode Path field for exactly these bytes gives the name,
// else they are code page 437; the stored name of the undecoded bytes is an earlier spelling.
TEST_F(ArchiveTest, DecodesEntryNamesAsTheArchiveMeansThem) {
    struct Case {
        std::string stored;
        std::uint16_t flags;
        std::string extra;
        std::string name;
    };
    const Case cases[] = {
        {"\x8EgyptenLand.MAP", 0, "", "ÄgyptenLand.MAP"},
        {"\xC9\xCD\xBB\xB3\x94\xE4.map", 0, "", "╔═╗│öΣ.map"},
        {"Ägypten.map", 0x800, "", "Ägypten.map"},
        {"\x84rger.map", 0, UnicodePathField("\x84rger.map", "Ärger.map"), "Ärger.map"},
        {"\x84rger.sav", 0, UnicodePathField("\x84rger.sav", "Ä.sav", 1), "ärger.sav"},
        {"\x8E\xFF.sav", 0x800, "", "\uFFFD\uFFFD.sav"},
    };
    ZipWriter zip;
    std::vector<std::string> names;
    for (const Case& item : cases) {
        zip.Add({item.stored, "bytes", ZipWriter::Method::Stored, {}, item.flags, {}, item.extra});
        names.push_back(item.name);
    }
    const std::string path = MakeArchive(zip);
    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->EntryNames(), names);
    EarlierSpellings earlier;
    ASSERT_TRUE(ReadStoredNames(path, &earlier).isArchive);
    EXPECT_EQ(earlier, (EarlierSpellings{{"ÄgyptenLand.map", "\x8EgyptenLand.map"},
                                         {"╔═╗│öΣ.map", "\xC9\xCD\xBB\xB3\x94\xE4.map"},
                                         {"Ärger.map", "\x84rger.map"},
                                         {"ärger.sav", "\x84rger.sav"},
                                         {"\uFFFD\uFFFD.sav", "\x8E\xFF.sav"}}));
    const Outcome refused = ExtractEntry(*archive, "\uFFFD\uFFFD.sav", dir.At("out"), fileSystem);
    EXPECT_EQ(refused.Lines(),
              std::vector<std::string>{
                  "\uFFFD\uFFFD.sav: is damaged (its name is marked UTF-8 but is not)"});
    EXPECT_TRUE(ExtractEntry(*archive, "ärger.MAP", dir.At("out"), fileSystem).Ok());
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
#ifdef _WIN32
        // A name Windows would take as folders is refused there.
        {"..\\..\\evil.map", std::nullopt},
#else
        {"..\\..\\evil.map", "..\\..\\evil.map"},
#endif
        {"a/..", std::nullopt},
        {"f/" + longest, std::string(kMaxStoredNameLength - 4, 'n') + ".map"},
        {"f/n" + longest, std::nullopt},
    };
    for (const auto& [entry, stored] : cases) {
        EXPECT_EQ(StoredNameOf(entry), stored) << entry.substr(0, 40);
    }
}

// FIFOs, /dev/null and the C library's reasons are Linux's; Windows gives its own texts.
#ifndef _WIN32
// Each with its reason, a FIFO at once, and without keeping a descriptor open (truncated
// archives: see the hostile tests).
TEST_F(ArchiveTest, RefusesWhatIsNoArchiveWithTheReason) {
    const std::string fifo = dir.path() + "pipe.zip";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.WriteFile("text.zip", "just some text"), "cannot be read as a ZIP archive"},
        {dir.MakeFolder("folder.zip"), "is a folder, not a file"},
        {fifo, "is not a regular file"},
        {dir.path() + "missing.zip", std::strerror(ENOENT)},
    };
    const int before = ::open("/dev/null", O_RDONLY);
    ::close(before);
    for (const auto& [path, reason] : cases) {
        Outcome why;
        EXPECT_FALSE(Archive::Open(path, &why)) << path;
        EXPECT_EQ(why.Lines(), (std::vector<std::string>{path + ": " + reason}));
    }
    const int after = ::open("/dev/null", O_RDONLY);
    ::close(after);
    EXPECT_EQ(before, after);
}
#endif

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

// Each entry comes out whole, in any order, whatever the buffer: larger than what is due, or
// ending inside the last piece, also when the local headers leave the sizes to a data
// descriptor (zero). A damaged deflate stream gives its reason and leaves no zlib state behind.
TEST_F(ArchiveTest, EntryReaderFillsWholeBuffersAndReportsDamage) {
    std::string noise(100000, '\0');
    std::uint32_t seed = 1;  // bytes deflate cannot shrink: the data spans several reads
    for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
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
    for (const char* name : {"text.map", "stored.map"}) {
        const std::size_t local = testing::EntryDataOf(bytes, name) - 30 - std::strlen(name);
        bytes.replace(local + 14, 12, 12, '\0');
    }
    const auto archive = Archive::Open(dir.WriteFile("entries.zip", bytes));
    ReadOnlyFile file;
    ASSERT_TRUE(archive && file.Open(dir.path() + "entries.zip").Ok());
    const std::string damaged = "is damaged (its data cannot be read)";
    const std::tuple<const char*, std::size_t, std::string> cases[] = {
        {"stored.map", 65536, noise}, {"text.map", 1 << 20, text},    {"noise.map", 65536, noise},
        {"text.map", 7, text},        {"stored.map", 1000, noise},    {"noise.map", 99999, noise},
        {"empty.map", 10, ""},        {"damaged.map", 65536, damaged}};
    EntryReader reader(file);
    for (const auto& [entry, size, expected] : cases) {
        ASSERT_TRUE(reader.Open(*archive->RecordFor(entry), entry).Ok()) << entry;
        std::string read, buffer(size, '\0');
        std::size_t got = 0;
        Outcome outcome;
        while ((outcome = reader.Read(buffer.data(), size, got)).Ok() && got > 0) {
            read.append(buffer, 0, got);
            if (got < size) {
                EXPECT_TRUE(reader.Read(buffer.data(), size, got).Ok() && got == 0);
            }
        }
        EXPECT_TRUE((outcome.Ok() ? read : outcome.Failures().front().reason) == expected)
            << entry << " in pieces of " << size;
    }
}

}  // namespace
}  // namespace wendmoor::testing
