#include "games/ZeusPackages.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include "GameTree.h"

namespace wendmoor::testing {
namespace {

ZipWriter TroyArchive() {
    return ZipWriter()
        .Add("Adventures/Troy/Troy.pak", "pak")
        .Add("Adventures/Troy/Troy.txt", "text")
        .Add("Arena.map", "arena")
        .Add("Troy.set", "set")
        .Add("intro.txt", "intro")
        .Add("save1.SAV", "save")
        .Add("readme.doc", "doc");
}

class ZeusTest : public testing::GameSessionTest {
  protected:
    std::optional<ZeusEntries> Classify(const ZipWriter& zip) {
        return ClassifyZeusArchive(Package(kZeus, "p.zip", zip));
    }
};

// The extension's case never matters, the name's does; the last ".pak" names the adventure. With
// nothing it could install, an archive is no package at all.
TEST_F(ZeusTest, AdventureAndTextNameRules) {
    const std::pair<Strings, std::string> cases[] = {
        // entries -> "adventure|pak|text|others" or "none"
        {{"Troy.pak.pak", "Troy.TXT", "readme.doc"}, "Troy|Troy.pak.pak|Troy.txt|readme.doc"},
        {{"Troy.pak", "troy.txt"}, "Troy|Troy.pak||"},
        {{"First.pak", "x/Second.PAK", "First.txt"}, "Second|Second.pak||"},
        {{"only.sav"}, "|||"},
        {{"a.set", "a.map"}, "none"},
        {{".pak", "a.map"}, "none"},
        {{"...pak", "Bare.map"}, "none"},
    };
    for (const auto& [entries, expected] : cases) {
        ZipWriter zip;
        for (const std::string& entry : entries) zip.Add(entry, "x");
        const std::optional<ZeusEntries> c = Classify(zip);
        std::string others;
        for (const std::string& other : c ? c->others : Strings{}) others += other;
        EXPECT_EQ(
            c ? c->adventureName + "|" + c->pakName + "|" + c->txtName + "|" + others : "none",
            expected)
            << entries[0];
    }
}

// The typical adventure's way is the tool's end-to-end case (tests/cli/CliGamesTest.cpp).
TEST_F(ZeusTest, UnusualAdventuresInstallAndDeinstallCleanly) {
    const RoundTrip trips[] = {
        // Saves alone never create or remove an adventure.
        {kZeus, {{"a.sav", "s"}}, {"S a.sav"}, "Adventures/\nSave/\nSave/a.sav\n"},
        // "...pak" names the adventure "..", "..pak" names it ".": neither is a folder of its
        // own, so the adventure's files are shown as never installed, and only the saves go.
        {kZeus,
         {{"...pak", "p"}, {"Up.map", "m"}, {"up.sav", "s"}},
         {"S up.sav", "Z ...pak", "Z Up.map"},
         "Adventures/\nSave/\nSave/up.sav\n"},
        {kZeus,
         {{"..pak", "p"}, {"Here.set", "m"}, {"here.sav", "s"}},
         {"S here.sav", "Z ..pak", "Z Here.set"},
         "Adventures/\nSave/\nSave/here.sav\n"},
    };
    for (const RoundTrip& trip : trips) CheckRoundTrip(trip);
}

// An earlier version named the adventure's folder and files by the archive's undecoded bytes
// (on Windows no name can hold such bytes).
#ifndef _WIN32
TEST_F(ZeusTest, AnAdventureInstalledUnderTheArchivesBytesIsFoundAndDeinstalled) {
    Package(kZeus, "old.zip", ZipWriter().Add("\x8Egypten.pak", "p").Add("Arena.map", "a"));
    dir.WriteFile("Zeus/Adventures/\x8Egypten/\x8Egypten.pak", "p");
    dir.WriteFile("Zeus/Adventures/\x8Egypten/Arena.map", "a");
    ASSERT_TRUE(session.SelectGame(kZeus));
    EXPECT_EQ(session.Lists().installed, (Strings{"old.zip"}));
    EXPECT_TRUE(session.RunPackageCommand("old.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.zeus_path + "Adventures/"), "");
}
#endif

TEST_F(ZeusTest, AdventureFolderWithForeignFilesStays) {
    Package(kZeus, "Troy.zip", TroyArchive());
    ASSERT_TRUE(session.SelectGame(kZeus));
    EXPECT_TRUE(session.RunPackageCommand("Troy.zip", true).Ok());
    dir.WriteFile("Zeus/Adventures/Troy/progress.dat", "the game's own");
    EXPECT_TRUE(session.RunPackageCommand("Troy.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.zeus_path + "Adventures/"), "Troy/\nTroy/progress.dat\n");
}

TEST_F(ZeusTest, AMissingTextFileLeavesThePackageAvailable) {
    Package(kZeus, "Troy.zip", TroyArchive());
    ASSERT_TRUE(session.SelectGame(kZeus));
    EXPECT_TRUE(session.RunPackageCommand("Troy.zip", true).Ok());
    std::remove((paths.zeus_path + "Adventures/Troy/Troy.txt").c_str());
    session.SelectGame(kZeus);
    EXPECT_EQ(session.Lists().available, (Strings{"Troy.zip"}));
}

// Making a symbolic link on Windows needs rights a test does not have.
#ifndef _WIN32
TEST_F(ZeusTest, AnAdventureFolderThatIsALinkIsNeverWrittenThroughNorCleaned) {
    // Someone else's folder, holding files of the adventure's names, behind a link where the
    // adventure's own folder would be.
    const std::string elsewhere = dir.MakeFolder("elsewhere");
    for (const char* name : {"Troy.pak", "Troy.txt", "Arena.map", "Troy.set"}) {
        dir.WriteFile(std::string("elsewhere/") + name, "not the package's");
    }
    ASSERT_EQ(::symlink(elsewhere.c_str(), (paths.zeus_path + "Adventures/Troy").c_str()), 0);
    const std::string before = ListTree(elsewhere);
    Package(kZeus, "Troy.zip", TroyArchive());
    ASSERT_TRUE(session.SelectGame(kZeus));
    EXPECT_EQ(session.Lists().available, (Strings{"Troy.zip"}));

    const Outcome installed = session.RunPackageCommand("Troy.zip", true);
    ASSERT_FALSE(installed.Ok());
    EXPECT_EQ(installed.Failures()[0].subject, paths.zeus_path + "Adventures/Troy");
    EXPECT_EQ(ReadFileBytes(elsewhere + "/Troy.pak"), "not the package's");
    EXPECT_EQ(session.Lists().available, (Strings{"Troy.zip"}));
    EXPECT_EQ(ReadFileBytes(paths.zeus_saves + "save1.sav"), "save");
    // Its deinstall takes the save the install wrote, and nothing behind the link.
    EXPECT_FALSE(session.RunPackageCommand("Troy.zip", false).Ok());
    EXPECT_EQ(ListTree(elsewhere), before);
    EXPECT_FALSE(ReadFileBytes(paths.zeus_saves + "save1.sav"));
}
#endif

TEST_F(ZeusTest, SavesOnlyPackageNeedsNoAdventuresFolder) {
    Package(kZeus, "saves.zip", ZipWriter().Add("a.sav", "s"));
    ASSERT_TRUE(session.SelectGame(kZeus));
    paths.zeus_path = dir.MakeFolder("ZeusWithoutAdventures");
    EXPECT_TRUE(session.RunPackageCommand("saves.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.zeus_path), "");
    EXPECT_EQ(session.Lists().installed, (Strings{"saves.zip"}));
}

}  // namespace
}  // namespace wendmoor::testing
