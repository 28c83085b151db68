#include "backups/BackupStore.h"

#include <filesystem>

#include "GameTree.h"
#include "backups/BackupManifest.h"
#include "platform/Path.h"

#ifdef _WIN32
#include "platform/windows/WindowsApi.h"
#else
#include <unistd.h>
#endif

namespace wendmoor::testing {
namespace {

// The player's own save: bytes that no text conversion may touch. The package's files are as
// long as the player's, so only their bytes tell them apart.
const std::string kPlayerSave("PLAYER\0PROGRESS\t\n\\\xff", 20);
const std::string kPackageSave = "PACKAGE SAVE of Rome";
const std::string kPackageMap = "PACKAGE MAP";
const std::string kEditedMap = "EDITED MAP!";

unsigned long CurrentProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

class BackupTest : public testing::GameSessionTest {
  protected:
    BackupTest() {
        session.SetBackupStoreFolder(store);
        Package(paths.caesar3_missions, "Rome.zip",
                ZipWriter().Add("Rome.map", kPackageMap).Add("Rome.sav", kPackageSave));
        EXPECT_TRUE(session.SelectGame(kCaesar3));
    }

    std::vector<BackupInfo> Backups() const { return ListBackups(store, "caesar3"); }

    std::string store = dir.At("data/QARN/backups/");
    const std::string save = paths.caesar3_path + "Rome.sav";
    const std::string map = paths.caesar3_path + "Rome.map";
};

TEST_F(BackupTest, InstallOverAnOwnFileKeepsItAndRestoreBringsItBackWhenForcedIfChanged) {
    ASSERT_TRUE(WriteFileBytes(save, kPlayerSave));
    ASSERT_TRUE(WriteFileBytes(map, kPackageMap));  // the same bytes: nothing to keep

    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_EQ(ReadFileBytes(save), kPackageSave);
    EXPECT_EQ(session.Kept().files, Strings{save});
    const std::vector<BackupInfo> backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(session.Kept().folder, backups[0].folder);
    EXPECT_TRUE(backups[0].name.starts_with("caesar3-")) << backups[0].name;
    EXPECT_TRUE(backups[0].name.ends_with("-Rome.zip")) << backups[0].name;
    EXPECT_EQ(backups[0].command, "install");
    EXPECT_EQ(backups[0].package, "Rome.zip");
    EXPECT_EQ(backups[0].Size(), kPlayerSave.size());
#ifndef _WIN32
    // Copies of the player's files are the player's alone.
    EXPECT_EQ(std::filesystem::status(store).permissions(), std::filesystem::perms::owner_all);
#endif

    // A reinstall replaces only identical bytes; the scan neither lists nor touches the store.
    const std::string stored = testing::ListTree(store);
    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_TRUE(session.Kept().files.empty());
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    EXPECT_EQ(session.Lists().installed, Strings{"Rome.zip"});
    EXPECT_TRUE(session.Lists().available.empty());
    EXPECT_EQ(testing::ListTree(store), stored);

    // What the install left is no change of the player's: it is replaced without asking.
    const std::string name = backups[0].name;
    const RestoreResult restored = session.RestoreBackup(name, false);
    EXPECT_TRUE(restored.outcome.Ok()) << restored.outcome.Lines().front();
    EXPECT_EQ(restored.restored, Strings{save});
    EXPECT_EQ(ReadFileBytes(save), kPlayerSave);
    EXPECT_EQ(ReadFileBytes(map), kPackageMap);

    // Played on since: refused, then forced, which keeps the played-on file first.
    ASSERT_TRUE(WriteFileBytes(save, "PLAYED ON"));
    const RestoreResult refused = session.RestoreBackup(name, false);
    EXPECT_TRUE(refused.needsForce);
    EXPECT_FALSE(refused.outcome.Ok());
    EXPECT_EQ(refused.conflicts, Strings{save});
    EXPECT_TRUE(refused.restored.empty());
    EXPECT_EQ(ReadFileBytes(save), "PLAYED ON");
    EXPECT_EQ(Backups().size(), 1u);
    const RestoreResult forced = session.RestoreBackup(name, true);
    EXPECT_TRUE(forced.outcome.Ok());
    EXPECT_EQ(ReadFileBytes(save), kPlayerSave);
    EXPECT_EQ(forced.kept.files, Strings{save});
    const std::vector<BackupInfo> after = Backups();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].command, "restore");  // newest first
    EXPECT_EQ(ReadFileBytes(after[0].folder + after[0].files.at(0).stored), "PLAYED ON");

    // Back already: a restore, even a forced one, writes and keeps nothing.
    const RestoreResult again = session.RestoreBackup(name, true);
    EXPECT_TRUE(again.outcome.Ok());
    EXPECT_TRUE(again.restored.empty());
    EXPECT_TRUE(again.kept.files.empty());
}

// The save, and the counted map whose last reference goes.
TEST_F(BackupTest, DeinstallKeepsWhatThePlayerChangedAndNothingElse) {
    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_FALSE(std::filesystem::exists(store));
    ASSERT_TRUE(WriteFileBytes(save, kPlayerSave));
    ASSERT_TRUE(WriteFileBytes(map, kEditedMap));

    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", false).Ok());
    EXPECT_FALSE(std::filesystem::exists(save) || std::filesystem::exists(map));
    EXPECT_EQ(session.Kept().files, (Strings{map, save}));
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_EQ(Backups()[0].command, "deinstall");
    EXPECT_FALSE(Backups()[0].files[0].leftBehind);

    // Nothing lies there now, so nothing is in the way.
    const RestoreResult restored = session.RestoreBackup(Backups()[0].name, false);
    EXPECT_TRUE(restored.outcome.Ok());
    EXPECT_EQ(ReadFileBytes(save), kPlayerSave);
}

TEST_F(BackupTest, AFileThatCannotBeKeptStaysAsItWasAndIsReported) {
    // The store's folder cannot be made: its parent is a file.
    const std::string blocked = dir.WriteFile("blocker", "file") + "/QARN/backups/";
    for (const bool install : {true, false}) {
        SCOPED_TRACE(install ? "install" : "deinstall");
        session.SetBackupStoreFolder(store);
        ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
        if (install) {
            ASSERT_TRUE(session.RunPackageCommand("Rome.zip", false).Ok());
        }
        ASSERT_TRUE(WriteFileBytes(save, kPlayerSave));

        session.SetBackupStoreFolder(blocked);
        const Outcome outcome = session.RunPackageCommand("Rome.zip", install);
        ASSERT_EQ(outcome.Failures().size(), 1u);
        EXPECT_EQ(outcome.Failures()[0].subject, save);
        EXPECT_NE(outcome.Failures()[0].reason.find("could not be backed up"), std::string::npos)
            << outcome.Failures()[0].reason;
        EXPECT_EQ(ReadFileBytes(save), kPlayerSave);
        EXPECT_TRUE(session.Kept().files.empty());
        // The file that needed no backup was installed or deleted all the same.
        EXPECT_EQ(std::filesystem::exists(map), install);
        std::filesystem::remove(save);
    }
}

// The manifest lies in the player's store, where anything may have changed it: a restore puts
// files back only where the game's installs write, and never through a linked package folder.
TEST_F(BackupTest, RestoreWritesOnlyIntoTheGamesFoldersAndSweepsThemFirst) {
    ASSERT_TRUE(WriteFileBytes(save, kPlayerSave));
    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    const BackupInfo backup = Backups().at(0);
    const std::string outside = dir.WriteFile("outside/Rome.sav", kPackageSave);
    dir.MakeFolder("elsewhere");
    const auto pointAt = [&](const std::string& game, const std::string& original) {
        BackupInfo changed = backup;
        changed.game = game;
        changed.files.at(0).original = original;
        ASSERT_TRUE(WriteFileBytes(backup.folder + kManifestName,
                                   ManifestHeader(changed) + ManifestFileLine(changed.files[0])));
    };
    Strings refused = {outside, paths.caesar3_path + "../outside/Rome.sav", "Rome.sav",
                       paths.caesar3_path + "./Rome.sav",
                       paths.caesar3_path + kDeadProcessTemporaryName};
    for (const std::string& original : refused) {
        pointAt("caesar3", original);
        const RestoreResult result = session.RestoreBackup(backup.name, true);
        ASSERT_EQ(result.outcome.Failures().size(), 1u) << original;
        EXPECT_EQ(result.outcome.Failures()[0].subject, original);
        EXPECT_TRUE(result.restored.empty());
    }
#ifndef _WIN32
    ASSERT_EQ(::symlink(dir.At("elsewhere").c_str(), (paths.zeus_path + "Adventures/Adv").c_str()),
              0);
    pointAt("zeus", paths.zeus_path + "Adventures/Adv/Adv.pak");
    ASSERT_TRUE(session.SelectGame(kZeus));
    const RestoreResult linked = session.RestoreBackup(backup.name, true);
    ASSERT_FALSE(linked.outcome.Ok());
    EXPECT_NE(linked.outcome.Lines()[0].find("symbolic link"), std::string::npos);
    ASSERT_TRUE(session.SelectGame(kCaesar3));
#endif
    EXPECT_EQ(ReadFileBytes(outside), kPackageSave);
    EXPECT_EQ(ListTree(dir.At("elsewhere")), "");

    // A kept copy is read only from inside its backup, even by a way that leads back in.
    const std::string up = std::string("..") + kPathSeparator;
    BackupInfo climbing = backup;
    climbing.files.at(0).stored = up + backup.name + kPathSeparator + backup.files[0].stored;
    ASSERT_TRUE(WriteFileBytes(backup.folder + kManifestName,
                               ManifestHeader(climbing) + ManifestFileLine(climbing.files[0])));
    EXPECT_FALSE(session.RestoreBackup(backup.name, true).outcome.Ok());

    pointAt("caesar3", save);
    EXPECT_TRUE(session.RestoreBackup(backup.name, false).outcome.Ok());
    EXPECT_EQ(ReadFileBytes(save), kPlayerSave);
    // What a killed restore left goes with the next one, even when all is back already.
    const std::string leftover = WriteLeftover(paths.caesar3_path + kDeadProcessTemporaryName);
    EXPECT_TRUE(session.RestoreBackup(backup.name, false).outcome.Ok());
    EXPECT_FALSE(std::filesystem::exists(leftover));
}

// What killed commands leave in the store goes with the next command that writes there;
// what a running command writes, and every kept file, stays.
TEST_F(BackupTest, TheSweepOfTheStoreTakesOnlyWhatKilledCommandsLeft) {
    ASSERT_TRUE(WriteFileBytes(save, kPlayerSave));
    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    const BackupInfo kept = Backups().at(0);
    BackupInfo empty = kept;
    empty.files.clear();
    const std::string header = ManifestHeader(empty);
    empty.createdNanoseconds = 1;
    const std::string running = ".wendmoor-" + std::to_string(CurrentProcessId()) + "-a1B2c3";
    const std::string keptCopy = kept.folder + kept.files.at(0).stored;
    const Strings gone = {
        // a kill in the middle of a copy, before the first one, and in a removal
        WriteLeftover(kept.folder + kDeadProcessTemporaryName, ""),
        WriteLeftover(FolderOf(keptCopy) + kDeadProcessTemporaryName),
        WriteLeftover(store + "caesar3-1-cut/" + kDeadProcessTemporaryName, ""),
        WriteLeftover(store + "caesar3-1-cut/" + kManifestName, header),
        WriteLeftover(store + kDeadProcessTemporaryName + "/files/x.sav"),
        // an earlier version's backup of not one file
        WriteLeftover(store + "caesar3-2-earlier/" + kManifestName, ManifestHeader(empty)),
    };
    const Strings stay = {keptCopy, WriteLeftover(store + "caesar3-3-writing/" + running, ""),
                          WriteLeftover(store + "caesar3-3-writing/" + kManifestName, header)};

    ASSERT_TRUE(SweepBackupStore(store).Ok());
    for (const std::string& path : gone) EXPECT_FALSE(std::filesystem::exists(path)) << path;
    for (const std::string& path : stay) EXPECT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_FALSE(std::filesystem::exists(store + "caesar3-1-cut"));
    EXPECT_EQ(ReadFileBytes(keptCopy), kPlayerSave);
}

TEST(BackupManifestTest, PathsAndNamesKeepEveryByte) {
    BackupInfo backup;
    backup.game = "zeus";
    backup.package = "a\tb\nc\\d\re\xff.zip";
    backup.command = "install";
    backup.createdNanoseconds = 1714565000123456789;
    backup.time = "2024-05-01 14:03:20";
    backup.files = {{"/g/x\\t\t\n.sav", "files/g/x\\t\t\n.sav", {3, 0xdeadbeef}, {{7, 1}}},
                    {"/g/y.map", "files/g/y.map", {0, 0}, std::nullopt}};
    std::string text = ManifestHeader(backup);
    for (const BackupFile& file : backup.files) text += ManifestFileLine(file);

    const std::optional<BackupInfo> read = ParseManifest(text + "file\t/cut/short");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->package, backup.package);
    EXPECT_EQ(read->createdNanoseconds, backup.createdNanoseconds);
    ASSERT_EQ(read->files.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read->files[i].original, backup.files[i].original);
        EXPECT_EQ(read->files[i].stored, backup.files[i].stored);
        EXPECT_EQ(read->files[i].bytes, backup.files[i].bytes);
        EXPECT_EQ(read->files[i].leftBehind, backup.files[i].leftBehind);
    }
    for (const std::string& broken :
         Strings{"", "something else\n", text + "file\tx\n", text.substr(text.find('\n') + 1),
                 "another format\n" + text.substr(text.find('\n') + 1)}) {
        EXPECT_FALSE(ParseManifest(broken)) << broken;
    }
}

}  // namespace
}  // namespace wendmoor::testing
