#include "packages/Archive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/StoredName.h"
#include "platform/FileSystem.h"

namespace wendmoor {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::ZipWriter;

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

TEST_F(ArchiveTest, OpensExactlyTheNamedFile) {
    // zziplib alone would open "x.zip" when asked for a missing "x".
    MakeArchive(ZipWriter().Add("a.map", "m"), "x.zip");
    EXPECT_FALSE(Archive::Open(dir.path() + "x"));
    EXPECT_TRUE(Archive::Open(dir.path() + "x.zip"));
}

TEST_F(ArchiveTest, RefusesWhatIsNoArchive) {
    EXPECT_FALSE(Archive::Open(dir.WriteFile("text.zip", "just some text, not an archive")));
    EXPECT_FALSE(Archive::Open(dir.WriteFile("empty.zip", "")));
    EXPECT_FALSE(Archive::Open(dir.MakeFolder("folder.zip")));
    std::string truncated = ZipWriter().Add("a.map", "some map bytes").Bytes();
    truncated.resize(truncated.size() - 10);
    EXPECT_FALSE(Archive::Open(dir.WriteFile("truncated.zip", truncated)));
    const std::string fifo = dir.path() + "pipe.zip";  // refused without blocking
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(Archive::Open(fifo));
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

TEST_F(ExtractTest, FindsEntryByFileNameWithoutRegardToCaseOrFolder) {
    const auto archive = Archive::Open(
        MakeArchive(ZipWriter().Add("Maps/Rome.MAP", "rome", ZipWriter::Method::Stored)));
    ASSERT_TRUE(archive);
    EXPECT_TRUE(ExtractEntry(*archive, "rome.map", dir.path() + "a.map", fileSystem).Ok());
    EXPECT_TRUE(ExtractEntry(*archive, "other/ROME.map", dir.path() + "b.map", fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(dir.path() + "a.map"), "rome");
    EXPECT_EQ(ReadFileBytes(dir.path() + "b.map"), "rome");
    EXPECT_FALSE(ExtractEntry(*archive, "troy.map", dir.path() + "c.map", fileSystem).Ok());
    EXPECT_FALSE(fileSystem.FileExists(dir.path() + "c.map"));
}

TEST_F(ExtractTest, SameNameInTwoFoldersTakesTheFirst) {
    const auto archive = Archive::Open(
        MakeArchive(ZipWriter().Add("one/Rome.map", "first").Add("two/Rome.map", "second")));
    ASSERT_TRUE(archive);
    EXPECT_TRUE(ExtractEntry(*archive, "two/Rome.map", dir.path() + "Rome.map", fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(dir.path() + "Rome.map"), "first");
}

TEST_F(ExtractTest, LookupAgreesWithTheLibraryOnBackslashesAndPunctuation) {
    const auto archive = Archive::Open(MakeArchive(
        ZipWriter().Add("dir/A\\B.map", "1").Add("a\\b.MAP", "22").Add("[x]_^@.sav", "333")));
    ASSERT_TRUE(archive);
    EXPECT_TRUE(ExtractEntry(*archive, "a\\b.map", dir.path() + "first.map", fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(dir.path() + "first.map"), "1");
    EXPECT_TRUE(ExtractEntry(*archive, "[X]_^@.SAV", dir.path() + "x.sav", fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(dir.path() + "x.sav"), "333");
}

TEST_F(ExtractTest, EmptyEntryMakesEmptyFileAndOverwriteReplaces) {
    const std::string target = dir.WriteFile("Rome.map", "old content that is longer");
    const auto archive = Archive::Open(
        MakeArchive(ZipWriter().Add("empty.sav", "").Add("Rome.map", std::string(20000, 'r'))));
    ASSERT_TRUE(archive);
    EXPECT_TRUE(ExtractEntry(*archive, "empty.sav", dir.path() + "empty.sav", fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(dir.path() + "empty.sav"), "");
    EXPECT_TRUE(ExtractEntry(*archive, "Rome.map", target, fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(target), std::string(20000, 'r'));
}

TEST_F(ExtractTest, OverwritesTheFileOnDiskWhateverItsLetterCase) {
    dir.MakeFolder("MAPS");
    dir.WriteFile("MAPS/rome.MAP", "old");
    const auto archive = Archive::Open(MakeArchive(ZipWriter().Add("Rome.map", "new")));
    ASSERT_TRUE(archive);
    EXPECT_TRUE(ExtractEntry(*archive, "Rome.map", dir.path() + "Maps/Rome.map", fileSystem).Ok());
    EXPECT_EQ(ReadFileBytes(dir.path() + "MAPS/rome.MAP"), "new");
    EXPECT_EQ(testing::ListTree(dir.path() + "MAPS"), "rome.MAP\n");
}

TEST_F(ExtractTest, MissingFolderCreatesNothing) {
    const auto archive = Archive::Open(MakeArchive(ZipWriter().Add("Rome.map", "m")));
    ASSERT_TRUE(archive);
    EXPECT_FALSE(
        ExtractEntry(*archive, "Rome.map", dir.path() + "nowhere/Rome.map", fileSystem).Ok());
    EXPECT_EQ(testing::ListTree(dir.path()), "package.zip\n");
}

TEST_F(ExtractTest, DamagedEntryLeavesTheOldFileIntact) {
    const std::string target = dir.WriteFile("game/Rome.map", "old bytes");
    ZipWriter::Entry wrongCrc{"Rome.map",  "new bytes", ZipWriter::Method::Stored,
                              0x12345678u, 0,           {}};
    ZipWriter::Entry wrongCrcDeflated{
        "Troy.map", std::string(5000, 't'), ZipWriter::Method::Deflated, 0x1u, 0, {}};
    ZipWriter::Entry encrypted{"Crete.map", "secret", ZipWriter::Method::Stored, {}, 1, {}};
    ZipWriter::Entry unknownMethod{"Sparta.map", "data", ZipWriter::Method::Stored, {}, 0, 99};
    const auto archive = Archive::Open(MakeArchive(
        ZipWriter().Add(wrongCrc).Add(wrongCrcDeflated).Add(encrypted).Add(unknownMethod)));
    ASSERT_TRUE(archive);
    for (const char* name : {"Rome.map", "Troy.map", "Crete.map", "Sparta.map"}) {
        EXPECT_FALSE(ExtractEntry(*archive, name, target, fileSystem).Ok()) << name;
        EXPECT_EQ(ReadFileBytes(target), "old bytes") << name;
    }
    EXPECT_EQ(testing::ListTree(dir.path() + "game"), "Rome.map\n");
}

TEST_F(ExtractTest, TargetThatIsAFolderStaysAFolder) {
    dir.MakeFolder("Rome.map");
    const auto archive = Archive::Open(MakeArchive(ZipWriter().Add("Rome.map", "m")));
    ASSERT_TRUE(archive);
    EXPECT_FALSE(ExtractEntry(*archive, "Rome.map", dir.path() + "Rome.map", fileSystem).Ok());
    EXPECT_TRUE(fileSystem.FolderExists(dir.path() + "Rome.map"));
}

TEST_F(ExtractTest, FileExistsAnswersFalseForFolders) {
    dir.MakeFolder("Rome.map");
    dir.WriteFile("Troy.map", "t");
    EXPECT_FALSE(fileSystem.FileExists(dir.path() + "Rome.map"));
    EXPECT_TRUE(fileSystem.FileExists(dir.path() + "troy.MAP"));
    EXPECT_FALSE(fileSystem.FileExists(dir.path() + "Crete.map"));
}

}  // namespace
}  // namespace wendmoor
