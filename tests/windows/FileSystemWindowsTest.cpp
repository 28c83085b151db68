// The file layer on a Windows drive (under Wine: a folder of the prefix's drive C:).
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "packages/FileRefCounts.h"
#include "platform/DiskSpace.h"
#include "platform/FileSystem.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {
namespace {

using testing::TestFolder;

class FileSystemWindowsTest : public ::testing::Test {
  protected:
    TestFolder folder;
    const std::string& at = folder.path();
    FileSystem fileSystem;
};

TEST_F(FileSystemWindowsTest, LooksUpEveryComponentWithoutRegardToCase) {
    folder.Write("Game\\MAPS\\rome.MAP", "r");
    EXPECT_EQ(fileSystem.Resolve(at + "game\\Maps\\Rome.map"), at + "Game\\MAPS\\rome.MAP");
    EXPECT_EQ(fileSystem.Resolve(at + "GAME\\maps\\"), at + "Game\\MAPS\\");
    // The first missing component and all after it stay as given.
    EXPECT_EQ(fileSystem.Resolve(at + "game\\Nowhere\\New.map"), at + "Game\\Nowhere\\New.map");
    EXPECT_EQ(fileSystem.Resolve("C:\\"), "C:\\");
    EXPECT_TRUE(fileSystem.FileExists(at + "GAME\\maps\\ROME.map"));
    EXPECT_FALSE(fileSystem.FileExists(at + "game\\maps"));
    EXPECT_FALSE(fileSystem.FileExists(at + "game\\maps\\r*.map"));  // no wildcards
    EXPECT_TRUE(fileSystem.FolderExists(at + "game\\MAPS\\"));
    EXPECT_FALSE(fileSystem.IsSymbolicLink(at + "game\\maps"));

    std::vector<FileSystem::FolderEntry> entries;
    ASSERT_TRUE(fileSystem.ListFolder(at + "GAME\\", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "MAPS");
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_FALSE(fileSystem.ListFolder(at + "nowhere\\", entries));
}

TEST_F(FileSystemWindowsTest, FoldersAndFilesComeAndGo) {
    folder.MakeFolder("Adventures");
    bool created = false;
    EXPECT_TRUE(fileSystem.CreateFolder(at + "adventures\\Troy", &created).Ok());
    EXPECT_TRUE(created);
    EXPECT_TRUE(fileSystem.CreateFolder(at + "ADVENTURES\\troy", &created).Ok());
    EXPECT_FALSE(created);
    EXPECT_FALSE(fileSystem.CreateFolder(at + "missing\\Troy").Ok());

    folder.Write("Adventures\\Troy\\keep.txt", "k");
    EXPECT_TRUE(fileSystem.RemoveFolder(at + "adventures\\TROY").Ok());  // not empty: stays
    EXPECT_EQ(folder.List("Adventures\\Troy"), "keep.txt\n");
    EXPECT_FALSE(fileSystem.DeleteFile(at + "adventures\\troy").Ok());  // a folder
    EXPECT_TRUE(fileSystem.DeleteFile(at + "adventures\\troy\\gone.txt").Ok());
    EXPECT_TRUE(fileSystem.DeleteFile(at + "Adventures\\Troy\\KEEP.TXT").Ok());
    // Gone from what the lookups know, too: a missing name stays as given.
    EXPECT_EQ(fileSystem.Resolve(at + "adventures\\troy\\KEEP.TXT"),
              at + "Adventures\\Troy\\KEEP.TXT");
    EXPECT_TRUE(fileSystem.RemoveFolder(at + "adventures\\TROY").Ok());
    EXPECT_EQ(folder.List(), "Adventures\\\n");
}

TEST_F(FileSystemWindowsTest, TheLastReferenceDeletesTheFileUnderItsSpellingOnDisk) {
    folder.Write("Cities\\Rome.map", "installed");
    FileRefCounts refs(fileSystem);
    refs.AddFileRef(at + "CITIES\\rome.MAP");
    refs.AddFileRef(at + "Cities\\Rome.map");
    EXPECT_TRUE(refs.ReleaseFileRef(at + "cities\\ROME.map").Ok());
    EXPECT_EQ(folder.List("Cities"), "Rome.map\n");
    EXPECT_TRUE(refs.ReleaseFileRef(at + "cities\\ROME.map").Ok());
    EXPECT_EQ(folder.List("Cities"), "");
}

TEST_F(FileSystemWindowsTest, FreeSpaceAndTheFileSystemOfAFolder) {
    const std::string sub = folder.MakeFolder("Maps");
    const std::string file = folder.Write("Maps\\Rome.map", "r");
    const std::optional<std::uint64_t> free = FreeSpaceOf(sub);
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
    EXPECT_FALSE(FreeSpaceOf(at + "nowhere\\").has_value());
    ASSERT_TRUE(FileSystemOf(at).has_value());
    EXPECT_EQ(FileSystemOf(sub), FileSystemOf(at));
    EXPECT_FALSE(FileSystemOf(file).has_value());
    EXPECT_FALSE(FileSystemOf(at + "nowhere\\").has_value());
}

using FileReplacementWindowsTest = FileSystemWindowsTest;

TEST_F(FileReplacementWindowsTest, TheTargetHoldsTheOldBytesUntilTheCommit) {
    const std::string target = folder.Write("Maps\\Rome.map", "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    {
        FileReplacement discarded(fileSystem, at + "maps\\ROME.MAP");
        ASSERT_TRUE(discarded.IsOpen());
        ASSERT_TRUE(discarded.Write("never seen", 10));
        ASSERT_TRUE(discarded.Finish().Ok());
    }
    EXPECT_EQ(folder.Read("Maps\\Rome.map"), "old");
    EXPECT_EQ(folder.List("Maps"), "Rome.map\n");

    FileReplacement file(fileSystem, at + "maps\\ROME.MAP");
    EXPECT_EQ(file.Target(), target);
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_EQ(folder.Read("Maps\\Rome.map"), "old");
    ASSERT_TRUE(file.Commit().Ok());
    EXPECT_EQ(folder.Read("Maps\\Rome.map"), "new");
    EXPECT_EQ(folder.List("Maps"), "Rome.map\n");
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    // What the commit wrote is known without listing the folder again.
    EXPECT_TRUE(fileSystem.FileExists(at + "MAPS\\rome.map"));
}

TEST_F(FileReplacementWindowsTest, RefusesFoldersReadOnlyFilesAndMissingFolders) {
    folder.MakeFolder("Folder.map");
    const std::string readOnly = folder.Write("ReadOnly.map", "kept");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    for (const std::string target : {"folder.map", "readonly.map", "nowhere\\New.map"}) {
        FileReplacement file(fileSystem, at + target);
        EXPECT_FALSE(file.IsOpen()) << target;
        EXPECT_FALSE(file.OpenOutcome().Ok()) << target;
        EXPECT_FALSE(file.Commit().Ok()) << target;
    }
    EXPECT_EQ(folder.Read("ReadOnly.map"), "kept");
    EXPECT_EQ(folder.List(), "Folder.map\\\nReadOnly.map\n");
}

TEST_F(FileReplacementWindowsTest, StaleTemporaryFilesOfOursGoOthersStay) {
    folder.Write("Maps\\.wendmoor-a1B2c3", "left by a killed install");
    folder.Write("Maps\\.wendmoorish.map", "the player's");
    folder.MakeFolder("Maps\\.wendmoor-folder");
    EXPECT_TRUE(fileSystem.RemoveStaleTemporaryFiles(at + "maps\\").Ok());
    EXPECT_EQ(folder.List("Maps"), ".wendmoor-folder\\\n.wendmoorish.map\n");
    EXPECT_TRUE(fileSystem.SyncFolder(at + "maps\\").Ok());
    EXPECT_TRUE(fileSystem.SyncFileSystemsOf({at + "maps\\", at}).Ok());
    EXPECT_FALSE(fileSystem.SyncFolder(at + "nowhere\\").Ok());
}

}  // namespace
}  // namespace wendmoor
