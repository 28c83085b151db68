// Archives made to hurt: each case asserts what the game folders hold afterwards, that nothing
// outside them changed, and that the session still works.
#include "GameTree.h"
#include "archive/Archive.h"

namespace wendmoor::testing {
namespace {

class HostileArchiveTest : public testing::GameTreeTest {
  protected:
    // Installs the package and selects the game anew; whether every entry was written must
    // be what the install reports.
    void Install(int game, const std::string& name, bool writesAll = true) {
        ASSERT_TRUE(session.SelectGame(game));
        EXPECT_EQ(session.RunPackageCommand(name, true).Ok(), writesAll) << name;
    }
};

// Names that climb or start at the root land inside the target folder; backslashes and colons
// are ordinary bytes of one name; overlong names are skipped while long folders are harmless.
TEST_F(HostileArchiveTest, HostileEntryNamesLandInsideTheTargetFolderOrNowhere) {
    const struct {
        int game;
        ZipWriter zip;
        std::string tree;  // the game folder after the install; empty after the deinstall
    } cases[] = {
        {kCaesar3,
         ZipWriter()
             .Add("../evil.map", "up")
             .Add("../../sentinel/evil.map", "up2")
             .Add("/tmp/abs.map", "abs")
             .Add("../../sentinel/Save/evil.sav", "s"),
         "abs.map\nevil.map\nevil.sav\n"},
        {kPharao, ZipWriter().Add("../../../evil.map", "up").Add("/../Save/x.sav", "s"),
         "Maps/\nMaps/evil.map\nSave/\nSave/x.sav\n"},
        // Names of our temporary files, which a later command would sweep away.
        {kCaesar3,
         ZipWriter()
             .Add(".wendmoor-campaign.sav", "s")
             .Add("x/.WENDMOOR-4000000000-a1B2c3.map", "m")
             .Add("ok.map", "o"),
         "ok.map\n"},
#ifndef _WIN32  // Windows refuses these names (tests/windows/NameRulesWindowsTest.cpp)
        {kCaesar3,
         ZipWriter().Add("..\\..\\evil.map", "b").Add("C:\\x.map", "c").Add("d:e.sav", "d"),
         "..\\..\\evil.map\nC:\\x.map\nd:e.sav\n"},
#endif
        {kCaesar3,
         ZipWriter()
             .Add(std::string(300, 'a') + ".map", "l")
             .Add(std::string(400, 'f') + "/short.map", "s"),
         "short.map\n"},
    };
    int number = 0;
    for (const auto& c : cases) {
        const std::string name = std::to_string(++number) + ".zip";
        const std::string& folder = paths.*FindGame(c.game)->gameFolder;
        const std::string before = ListTree(folder);
        Package(c.game, name, c.zip);
        Install(c.game, name);
        EXPECT_EQ(ListTree(folder), c.tree) << name;
        if (number == 1) {
            EXPECT_EQ(ReadFileBytes(folder + "evil.map"), "up");  // the first one
        }
        EXPECT_EQ(session.Lists().installed, (Strings{name}));
        EXPECT_TRUE(session.RunPackageCommand(name, false).Ok()) << name;
        EXPECT_EQ(ListTree(folder), before) << name;
    }
}

TEST_F(HostileArchiveTest, TruncatedArchivesWriteOnlyWholeEntries) {
    const std::string whole = ZipWriter()
                                  .Add("a.map", std::string(3000, 'a'))
                                  .Add("b.map", std::string(5000, 'b'), ZipWriter::Method::Stored)
                                  .Add("c.sav", "save")
                                  .Bytes();
    ASSERT_TRUE(testing::WriteFileBytes(paths.caesar3_path + "a.map", "old a"));
    for (std::size_t length = 0; length < whole.size(); length += 97) {
        Package(kCaesar3, "cut.zip", whole.substr(0, length));
        ASSERT_TRUE(session.SelectGame(kCaesar3));
        EXPECT_FALSE(session.RunPackageCommand("cut.zip", true).Ok()) << length;
        EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "a.map"), "old a");
        EXPECT_EQ(ListTree(paths.caesar3_path), "a.map\n");
    }
}

TEST_F(HostileArchiveTest, DamagedEntriesNeverReplaceWhatIsThere) {
    std::string archive = ZipWriter()
                              .Add("deflate.map", std::string(20000, 'x') + "tail")
                              .Add("crc.map", "crc", ZipWriter::Method::Stored)
                              .Add({"method.map", "m", ZipWriter::Method::Stored, {}, 0, 12})
                              .Add({"secret.map", "e", ZipWriter::Method::Stored, {}, 1, {}})
                              .Add("good.sav", "good")
                              .Bytes();
    archive[testing::EntryDataOf(archive, "deflate.map") + 5] ^= 0x55;
    archive[testing::EntryDataOf(archive, "crc.map")] = 'X';
    for (const char* name : {"deflate.map", "crc.map", "method.map", "secret.map"}) {
        ASSERT_TRUE(testing::WriteFileBytes(paths.caesar3_path + name, std::string("old ") + name));
    }
    Package(kCaesar3, "damaged.zip", archive);
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    // The old files make the package look installed; only the install's own report tells.
    const Outcome outcome = session.RunPackageCommand("damaged.zip", true);
    std::vector<std::string> failed;
    for (const Outcome::Failure& failure : outcome.Failures()) failed.push_back(failure.subject);
    EXPECT_EQ(failed, (Strings{"deflate.map", "crc.map", "method.map", "secret.map"}));
    for (const char* name : {"deflate.map", "crc.map", "method.map", "secret.map"}) {
        EXPECT_EQ(ReadFileBytes(paths.caesar3_path + name), std::string("old ") + name);
    }
    EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "good.sav"), "good");
}

// Directory records that the archive library would read differently from us, or past the data,
// records whose local header and data share bytes (which would write one entry's data many
// times over), and ZIP64 archives, which are not supported.
TEST_F(HostileArchiveTest, InconsistentDirectoriesAreRefused) {
    const std::string good = ZipWriter().Add("a.map", "aaaa").Add("b.sav", "bbbb").Bytes();
    const std::size_t end = good.rfind(std::string("PK\5\6", 4));

    std::string nul = ZipWriter().Add(std::string("x.map\0../../evil.map", 20), "n").Bytes();
    // Zero bytes after the last record, counted in the directory's size.
    std::string trailing = good;
    trailing.insert(end, std::string(46, '\0'));
    trailing[end + 46 + 12] = static_cast<char>(trailing[end + 46 + 12] + 46);
    std::string countTooHigh = good;
    countTooHigh[end + 8] = countTooHigh[end + 10] = 3;
    // A ZIP64 archive: its locator stands right before the end record.
    std::string zip64Locator = good;
    zip64Locator.insert(end, std::string("PK\6\7", 4) + std::string(16, '\0'));
    // 200 records of one entry's local header and data.
    ZipWriter many;
    const auto name = [](int i) { return "e" + std::to_string(100 + i) + ".map"; };
    for (int i = 0; i < 200; ++i) many.Add(name(i), std::string(1 << 16, 'z'));
    std::string oneEntry = many.Bytes();
    for (int i = 1; i < 200; ++i) testing::PatchCentralRecord(oneEntry, name(i), 42, 0);
    // a.map's data runs one byte into b.map's local header.
    std::string partly = ZipWriter()
                             .Add("a.map", "aaaa", ZipWriter::Method::Stored)
                             .Add("b.map", "bbbb", ZipWriter::Method::Stored)
                             .Bytes();
    testing::PatchCentralRecord(partly, "a.map", 20, 10);
    testing::PatchCentralRecord(partly, "a.map", 24, 10);

    const std::pair<const char*, std::string> cases[] = {
        {"nul.zip", nul},
        {"trailing.zip", trailing},
        {"count.zip", countTooHigh},
        {"zip64.zip", zip64Locator},
        {"one.zip", oneEntry},
        {"partly.zip", partly},
    };
    for (const auto& [file, bytes] : cases) {
        EXPECT_FALSE(Archive::Open(Package(kCaesar3, file, bytes))) << file;
    }
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    EXPECT_TRUE(session.Lists().available.empty());
    EXPECT_FALSE(session.RunPackageCommand("partly.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "");
}

TEST_F(HostileArchiveTest, EntriesWhoseLocalHeaderLiesAreNotExtracted) {
    std::string archive = ZipWriter()
                              .Add("first.map", "first data", ZipWriter::Method::Stored)
                              .Add("moved.map", "moved data", ZipWriter::Method::Stored)
                              .Add("long.map", "long data", ZipWriter::Method::Stored)
                              .Add("shift.map", std::string("PK\3\4", 4), ZipWriter::Method::Stored)
                              .Add("ok.sav", "ok")
                              .Bytes();
    // Points a few bytes past its own local header, where none starts.
    const std::size_t moved = testing::EntryDataOf(archive, "moved.map") - 30 - 9;
    testing::PatchCentralRecord(archive, "moved.map", 42, moved + 5);
    // Its local name length reaches into the directory.
    const std::size_t local = testing::EntryDataOf(archive, "long.map") - 30 - 8;
    archive[local + 26] = static_cast<char>(0xff);
    archive[local + 27] = static_cast<char>(0x7f);
    // Its local extra field moves its data onto the next local header, which holds the same bytes.
    archive[testing::EntryDataOf(archive, "shift.map") - 30 - 9 + 28] = 4;
    Package(kCaesar3, "lies.zip", archive);
    Install(kCaesar3, "lies.zip", false);
    EXPECT_EQ(ListTree(paths.caesar3_path), "first.map\nok.sav\n");
    EXPECT_EQ(session.Lists().available, (Strings{"lies.zip"}));
}

}  // namespace
}  // namespace wendmoor::testing
