#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempDir.h"
#include "ZipWriter.h"

namespace wendmoor {
namespace {

using testing::ListTree;
using testing::ReadFileBytes;
using testing::TempDir;

class FileSystemTest : public ::testing::Test {
  protected:
    TempDir dir;
    FileSystem fileSystem;
};

TEST_F(FileSystemTest, ResolvesEveryComponentWithoutRegardToCase) {
    dir.WriteFile("Game/MAPS/rome.MAP", "r");
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "game/Maps/Rome.map"),
              dir.path() + "Game/MAPS/rome.MAP");
    EXPECT_TRUE(fileSystem.FileExists(dir.path() + "GAME/maps/ROME.map"));
}

TEST_F(FileSystemTest, KeepsMissingComponentsAsGiven) {
    dir.MakeFolder("Game/MAPS");
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "game/maps/New.map"),
              dir.path() + "Game/MAPS/New.map");
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "game/Nowhere/New.map"),
              dir.path() + "Game/Nowhere/New.map");
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "game/maps/"), dir.path() + "Game/MAPS/");
}

TEST_F(FileSystemTest, PrefersTheExactSpelling) {
    dir.WriteFile("rome.map", "lower");
    dir.WriteFile("Rome.map", "mixed");
    dir.WriteFile("ROME.MAP", "upper");
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "Rome.map"), dir.path() + "Rome.map");
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "rome.map"), dir.path() + "rome.map");
    // No exact spelling: the choice is the same every time, whatever the folder's order.
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "rOME.map"), dir.path() + "ROME.MAP");
}

TEST_F(FileSystemTest, DeleteRemovesOnlyTheResolvedFile) {
    dir.WriteFile("Maps/ROME.MAP", "theirs");
    dir.WriteFile("Maps/Rome.map", "ours");
    EXPECT_TRUE(fileSystem.DeleteFile(dir.path() + "maps/Rome.map").Ok());
    EXPECT_EQ(ListTree(dir.path() + "Maps"), "ROME.MAP\n");
    EXPECT_FALSE(fileSystem.DeleteFile(dir.path() + "Maps").Ok());
    EXPECT_TRUE(fileSystem.DeleteFile(dir.path() + "Maps/gone.map").Ok());
    EXPECT_TRUE(fileSystem.FolderExists(dir.path() + "MAPS"));
}

TEST_F(FileSystemTest, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    dir.MakeFolder("Adventures");
    bool created = false;
    EXPECT_TRUE(fileSystem.CreateFolder(dir.path() + "adventures/Troy", &created).Ok());
    EXPECT_TRUE(created);
    EXPECT_TRUE(fileSystem.CreateFolder(dir.path() + "adventures/troy", &created).Ok());
    EXPECT_FALSE(created);
    EXPECT_FALSE(fileSystem.CreateFolder(dir.path() + "missing/Troy").Ok());
    dir.WriteFile("Adventures/Troy/keep.txt", "k");
    EXPECT_TRUE(fileSystem.RemoveFolder(dir.path() + "Adventures/TROY").Ok());
    EXPECT_EQ(ListTree(dir.path()), "Adventures/\nAdventures/Troy/\nAdventures/Troy/keep.txt\n");
    EXPECT_TRUE(fileSystem.DeleteFile(dir.path() + "Adventures/Troy/KEEP.txt").Ok());
    EXPECT_TRUE(fileSystem.RemoveFolder(dir.path() + "Adventures/TROY").Ok());
    EXPECT_EQ(ListTree(dir.path()), "Adventures/\n");
}

TEST_F(FileSystemTest, WhatALookupLearnedStaysTrueAfterOurOwnWrites) {
    dir.MakeFolder("Maps");
    EXPECT_FALSE(fileSystem.FileExists(dir.path() + "maps/Rome.map"));  // lists "Maps"
    {
        FileReplacement file(fileSystem, dir.path() + "maps/Rome.map");
        ASSERT_TRUE(file.Write("r", 1));
        ASSERT_TRUE(file.Commit().Ok());
    }
    EXPECT_TRUE(fileSystem.FileExists(dir.path() + "MAPS/ROME.MAP"));
    EXPECT_TRUE(fileSystem.DeleteFile(dir.path() + "maps/rome.map").Ok());
    EXPECT_FALSE(fileSystem.FileExists(dir.path() + "MAPS/ROME.MAP"));

    // After a delete the other spelling is found, not the name the folder's old listing held.
    dir.WriteFile("Maps/ROME.MAP", "theirs");
    dir.WriteFile("Maps/Rome.map", "ours");
    fileSystem.ForgetListings();
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "maps/rome.map"), dir.path() + "Maps/ROME.MAP");
    EXPECT_TRUE(fileSystem.DeleteFile(dir.path() + "Maps/ROME.MAP").Ok());
    EXPECT_EQ(fileSystem.Resolve(dir.path() + "maps/rome.map"), dir.path() + "Maps/Rome.map");
}

TEST_F(FileSystemTest, ChangesByOthersShowAfterForgetListings) {
    dir.MakeFolder("Maps");
    EXPECT_FALSE(fileSystem.FileExists(dir.path() + "Maps/rome.map"));
    dir.WriteFile("Maps/Rome.map", "r");
    fileSystem.ForgetListings();
    EXPECT_TRUE(fileSystem.FileExists(dir.path() + "Maps/rome.map"));
}

TEST_F(FileSystemTest, ListsFilesAndFolders) {
    dir.WriteFile("missions/a.zip", "a");
    dir.MakeFolder("missions/x.zip");
    std::vector<FileSystem::FolderEntry> entries;
    ASSERT_TRUE(fileSystem.ListFolder(dir.path() + "MISSIONS/", entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const auto& entry : entries) EXPECT_EQ(entry.isFolder, entry.name == "x.zip");
    EXPECT_FALSE(fileSystem.ListFolder(dir.path() + "nowhere/", entries));
}

class FileReplacementTest : public FileSystemTest {};

TEST_F(FileReplacementTest, UncommittedWriteLeavesTargetAndNoTemporary) {
    const std::string target = dir.WriteFile("Rome.map", "old");
    {
        FileReplacement file(fileSystem, target);
        ASSERT_TRUE(file.Write("new and longer", 14));
    }
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(ListTree(dir.path()), "Rome.map\n");
}

TEST_F(FileReplacementTest, CommitReplacesAndKeepsPermissions) {
    const std::string target = dir.WriteFile("Rome.map", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    FileReplacement file(fileSystem, target);
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit().Ok());
    EXPECT_EQ(ReadFileBytes(target), "new");
    struct stat info;
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(ListTree(dir.path()), "Rome.map\n");
}

TEST_F(FileReplacementTest, RefusesFolderTargetsAndMissingFolders) {
    dir.MakeFolder("Rome.map");
    EXPECT_FALSE(FileReplacement(fileSystem, dir.path() + "Rome.map").IsOpen());
    EXPECT_FALSE(FileReplacement(fileSystem, dir.path() + "nowhere/Rome.map").IsOpen());
    EXPECT_EQ(ListTree(dir.path()), "Rome.map/\n");
}

TEST_F(FileReplacementTest, StaleTemporaryFilesOfOursGoOthersStay) {
    dir.WriteFile("Maps/.wendmoor-a1B2c3", "left by a killed install");
    dir.WriteFile("Maps/.wendmoorish.map", "the player's");
    dir.MakeFolder("Maps/.wendmoor-folder");
    ASSERT_EQ(::symlink("/nonexistent", (dir.path() + "Maps/.wendmoor-link").c_str()), 0);
    EXPECT_TRUE(fileSystem.RemoveStaleTemporaryFiles(dir.path() + "maps/").Ok());
    EXPECT_EQ(ListTree(dir.path() + "Maps"),
              ".wendmoor-folder/\n.wendmoor-link\n.wendmoorish.map\n");
}

}  // namespace
}  // namespace wendmoor
