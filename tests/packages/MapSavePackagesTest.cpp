#include "games/MapSavePackages.h"

#include <thread>

#include "GameTree.h"
#include "archive/CommandProgress.h"
#include "packages/FileRefCounts.h"

namespace wendmoor::testing {
namespace {

using MapSaveTest = testing::GameSessionTest;

TEST_F(MapSaveTest, ClassifiesByStoredNameInArchiveOrder) {
    const auto entries = ClassifyMapSaveArchive(Package(paths.caesar3_missions, "p.zip",
                                                        ZipWriter()
                                                            .AddFolder("Scenarios/")
                                                            .Add("Scenarios/Rome.MAP", "m")
                                                            .Add("notes", "n")
                                                            .Add("b.SAV", "s")
                                                            .Add("x.mapx", "x")
                                                            .Add("other/Rome.map", "m2")
                                                            .Add("readme.txt", "t")));
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->maps, (Strings{"Rome.map", "Rome.map"}));
    EXPECT_EQ(entries->saves, (Strings{"b.sav"}));
    EXPECT_EQ(entries->others, (Strings{"x.mapx", "readme.txt"}));
    // Without a map or a save, or unreadable, an archive is no package.
    EXPECT_FALSE(ClassifyMapSaveArchive(
        Package(paths.caesar3_missions, "readme.zip", ZipWriter().Add("readme.txt", "t"))));
    EXPECT_FALSE(ClassifyMapSaveArchive(paths.caesar3_missions + "missing.zip"));
}

TEST_F(MapSaveTest, ScanListsEveryReadableArchiveWhateverItsExtension) {
    Package(paths.caesar3_missions, "beta.zip", ZipWriter().Add("Beta.map", "b"));
    Package(paths.caesar3_missions, "Alpha.dat", ZipWriter().Add("Alpha.map", "a"));
    Package(paths.caesar3_missions, "readme.zip", ZipWriter().Add("readme.txt", "r"));
    dir.WriteFile("c3missions/notes.txt", "not an archive");
    dir.MakeFolder("c3missions/x.zip");
    ASSERT_TRUE(session.SelectGame(1));
    EXPECT_EQ(session.Lists().available, (Strings{"Alpha.dat", "beta.zip"}));
    EXPECT_TRUE(session.Lists().installed.empty());
}

TEST_F(MapSaveTest, MissingMissionsFolderIsSaidNotListedEmpty) {
    paths.caesar3_missions = dir.path() + "nowhere/";
    EXPECT_TRUE(session.SelectGame(1));
    EXPECT_TRUE(session.Lists().available.empty());
    // The system's own words for why: each system has its own.
    const std::string said = "The missions folder " + paths.caesar3_missions + ": ";
    ASSERT_EQ(session.Content().size(), 1u);
    EXPECT_TRUE(session.Content()[0].starts_with(said)) << session.Content()[0];
#ifndef _WIN32
    EXPECT_EQ(session.Content()[0], said + "No such file or directory");
#endif
}

TEST_F(MapSaveTest, CancelledInstallReplacesNothingAndLeavesNoTemporaryFile) {
    dir.WriteFile("Caesar3/0.map", "the player's");
    ZipWriter zip;
    for (int i = 0; i < 2000; ++i) zip.Add(std::to_string(i) + ".map", "m");
    Package(paths.caesar3_missions, "many.zip", zip);
    ASSERT_TRUE(session.SelectGame(1));
    CommandProgress progress;
    std::thread canceller([&] {
        while (progress.FilesDone() < 10) std::this_thread::yield();
        progress.Cancel();
    });
    const Outcome outcome = session.RunPackageCommand("many.zip", true, &progress);
    canceller.join();
    EXPECT_EQ(outcome.Lines(), (Strings{"the install: cancelled before any file was replaced"}));
    EXPECT_EQ(ListTree(paths.caesar3_path), "0.map\n");
    EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "0.map"), "the player's");
}

TEST_F(MapSaveTest, SharedMapsAreCountedSharedSavesAreNot) {
    Package(paths.caesar3_missions, "one.zip",
            ZipWriter().Add("Rome.map", "m").Add("shared.sav", "s"));
    Package(paths.caesar3_missions, "two.zip",
            ZipWriter().Add("ROME.MAP", "m").Add("shared.sav", "s"));
    Package(paths.caesar3_missions, "three.zip", ZipWriter().Add("Rome.map", "m"));
    ASSERT_TRUE(session.SelectGame(1));
    EXPECT_TRUE(session.RunPackageCommand("one.zip", true).Ok());
    EXPECT_TRUE(session.RunPackageCommand("two.zip", true).Ok());
    EXPECT_EQ(session.Lists().installed, (Strings{"one.zip", "three.zip", "two.zip"}));
    EXPECT_EQ(session.FileRefs().CountOf(paths.caesar3_path + "Rome.map"), 3);

    EXPECT_TRUE(session.RunPackageCommand("one.zip", false).Ok());
    // The map stays for the others; the shared save went, so "two" is available again.
    EXPECT_TRUE(fileSystem.FileExists(paths.caesar3_path + "Rome.map"));
    EXPECT_EQ(session.Lists().installed, (Strings{"three.zip"}));
    EXPECT_EQ(session.Lists().available, (Strings{"one.zip", "two.zip"}));
    EXPECT_EQ(session.FileRefs().CountOf(paths.caesar3_path + "Rome.map"), 1);

    // A deinstall killed halfway leaves "four" available with a save in place: a deinstall
    // finishes it, yet leaves the map "three" needs; with nothing left it is refused.
    Package(paths.caesar3_missions, "four.zip",
            ZipWriter().Add("Rome.map", "m").Add("four.sav", "4").Add("gone.sav", "g"));
    ASSERT_TRUE(WriteFileBytes(paths.caesar3_path + "four.sav", "4"));
    EXPECT_TRUE(session.RunPackageCommand("four.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "Rome.map\n");
    EXPECT_FALSE(session.RunPackageCommand("four.zip", false).Ok());
    EXPECT_TRUE(session.RunPackageCommand("three.zip", false).Ok());
    EXPECT_FALSE(fileSystem.FileExists(paths.caesar3_path + "Rome.map"));
}

// Only a shared map that other installed packages hold, and that the install would change,
// names them; the same bytes name no one.
TEST_F(MapSaveTest, PackagesLosingSharedFilesAreTheOtherHoldersOfAChangedMap) {
    Package(paths.caesar3_missions, "one.zip", ZipWriter().Add("Rome.map", "m"));
    Package(paths.caesar3_missions, "three.zip", ZipWriter().Add("ROME.MAP", "m"));
    Package(paths.caesar3_missions, "two.zip",
            ZipWriter().Add("rome.map", "other bytes").Add("two.sav", "2"));
    Package(paths.caesar3_missions, "four.zip",
            ZipWriter().Add("Rome.map", "m").Add("four.sav", "4"));
    ASSERT_TRUE(session.SelectGame(1));
    ASSERT_TRUE(session.RunPackageCommand("one.zip", true).Ok());
    const std::pair<const char*, Strings> cases[] = {
        {"two.zip", {"one.zip", "three.zip"}},
        {"four.zip", {}},
        {"one.zip", {}},
    };
    for (const auto& [package, users] : cases) {
        EXPECT_EQ(session.PackagesLosingSharedFiles(package), users) << package;
    }
}

// What a killed command left in a folder the install writes goes with it.
TEST_F(MapSaveTest, InstallReplacesExistingFilesInPlace) {
    dir.WriteFile("Caesar3/ROME.MAP", "old map");
    WriteLeftover(paths.caesar3_path + kDeadProcessTemporaryName);
    Package(paths.caesar3_missions, "Rome.zip", ZipWriter().Add("Rome.map", "new map"));
    ASSERT_TRUE(session.SelectGame(1));
    EXPECT_EQ(session.Lists().installed, (Strings{"Rome.zip"}));
    EXPECT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "ROME.MAP\n");
    EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "ROME.MAP"), "new map");
}

// A game whose folders cannot be used is not selected: an empty one asks once, then leaves the
// game's message; a relative one, or one another game writes into too (whose packages' files
// this game's counts do not know), is refused naming the settings keys. No command runs, so
// nothing is written, not even in the folder a relative path would name.
TEST_F(MapSaveTest, FoldersThatCannotBeUsedLeaveTheMessageAndNoGame) {
    const std::string relative = "wendmoor-relative-folder/";
    const std::string pharaoMaps = paths.pharao_path + "maps/";
    const std::string troy = paths.zeus_path + "Adventures/Troy/";
    const auto share = [](const std::string& mine, const std::string& theirs,
                          const std::string& folder, const char* games) {
        return mine + " and " + theirs + " share the folder " + folder + ": a deinstall of " +
               games + " would delete files the other game's packages need; give each game " +
               "folders of its own";
    };
    const struct {
        std::string GamePaths::*changed;
        std::string value;
        int game;
        Strings content;
        int asked = 0;
    } cases[] = {
        {&GamePaths::pharao_saves, "", kPharao, {"please select all paths for Pharao!"}, 1},
        {&GamePaths::zeus_saves,
         relative,
         kZeus,
         {"the folder zeus_saves is not an absolute path: " + relative}},
        {&GamePaths::caesar3_path,
         pharaoMaps,
         kCaesar3,
         {share("caesar3_path", "the Maps folder of pharao_path", pharaoMaps,
                "Caesar III or Pharao")}},
        {&GamePaths::emperor_saves,
         paths.zeus_saves,
         kZeus,
         {share("zeus_saves", "emperor_saves", paths.zeus_saves, "Zeus or Emperor")}},
        {&GamePaths::caesar3_path,
         troy,
         kZeus,
         {share("the Adventures folder of zeus_path", "caesar3_path", troy, "Zeus or Caesar III")}},
    };
    Package(kPharao, "Delta.zip", ZipWriter().Add("Delta.map", "m").Add("Delta.sav", "s").Bytes());
    Package(kZeus, "Troy.zip", ZipWriter().Add("Troy.pak", "p").Add("Troy.sav", "s").Bytes());
    const std::string before = TreeWithBytes(dir.path());
    for (const auto& c : cases) {
        GamePaths changed = paths;
        changed.*c.changed = c.value;
        int asked = 0;
        PackageSession asking(changed, fileSystem, [&] { ++asked; });
        EXPECT_FALSE(asking.SelectGame(c.game)) << c.value;
        EXPECT_EQ(asked, c.asked) << c.value;
        EXPECT_EQ(asking.CurrentGame(), 0);
        EXPECT_EQ(asking.Content(), c.content);
        EXPECT_FALSE(
            asking.RunPackageCommand(c.game == kPharao ? "Delta.zip" : "Troy.zip", true).Ok());
    }
    EXPECT_EQ(TreeWithBytes(dir.path()), before);
    EXPECT_FALSE(fileSystem.FolderExists(relative));
}

TEST_F(MapSaveTest, CommandOnAnArchiveDeletedSinceTheScanChangesNothing) {
    const std::string archive =
        Package(paths.caesar3_missions, "Rome.zip", ZipWriter().Add("Rome.map", "m"));
    ASSERT_TRUE(session.SelectGame(1));
    std::remove(archive.c_str());
    EXPECT_FALSE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_TRUE(session.Lists().available.empty());  // scanned anew under the lock
    EXPECT_EQ(ListTree(paths.caesar3_path), "");
}

TEST_F(MapSaveTest, FoldersConfiguredInAnotherLetterCaseStillWork) {
    Package(paths.caesar3_missions, "Rome.zip", ZipWriter().Add("Rome.map", "m"));
    paths.caesar3_missions = dir.path() + "C3MISSIONS/";
    paths.caesar3_path = dir.path() + "caesar3/";
    ASSERT_TRUE(session.SelectGame(1));
    ASSERT_EQ(session.Lists().available, (Strings{"Rome.zip"}));
    session.ShowPackageContent("Rome.zip");
    EXPECT_EQ(session.Content(), (Strings{"M Rome.map"}));
    EXPECT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_EQ(ListTree(dir.path() + "Caesar3"), "Rome.map\n");
    EXPECT_EQ(session.Lists().installed, (Strings{"Rome.zip"}));
}

// Windows names are UTF-16 on disk: there a name that is no valid text cannot exist,
// neither an earlier version's undecoded one nor a package's.
#ifndef _WIN32
// An earlier version installed entries under the archive's undecoded bytes: such a package
// still lists as installed, holds its maps and deinstalls cleanly; a new install writes the
// decoded names only.
TEST_F(MapSaveTest, FilesInstalledUnderTheArchivesBytesAreFoundAndDeinstalled) {
    Package(paths.caesar3_missions, "old.zip",
            ZipWriter().Add("\x8EgyptenLand.map", "m").Add("\x99l.sav", "s"));
    dir.WriteFile("Caesar3/\x8EgyptenLand.map", "m");
    dir.WriteFile("Caesar3/\x99l.sav", "s");
    ASSERT_TRUE(session.SelectGame(1));
    EXPECT_EQ(session.Lists().installed, (Strings{"old.zip"}));
    EXPECT_EQ(session.FileRefs().CountOf(paths.caesar3_path + "ÄgyptenLand.map"), 1);
    EXPECT_TRUE(session.RunPackageCommand("old.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "");
    EXPECT_TRUE(session.RunPackageCommand("old.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "ÄgyptenLand.map\nÖl.sav\n");
}

TEST_F(MapSaveTest, PackageNamesThatAreNotValidTextKeepTheirBytes) {
    const std::string name = "R\xf6m\xff.zip";
    Package(paths.caesar3_missions, name, ZipWriter().Add("Rome.map", "m"));
    ASSERT_TRUE(session.SelectGame(1));
    ASSERT_EQ(session.Lists().available, (Strings{name}));
    EXPECT_TRUE(session.RunPackageCommand(name, true).Ok());
    EXPECT_EQ(session.Lists().installed, (Strings{name}));
}
#endif

}  // namespace
}  // namespace wendmoor::testing
