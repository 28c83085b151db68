// The file layer's contract on every platform; under Wine its folder lies on the prefix's C:.
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/DiskSpace.h"
#include "platform/Path.h"

#ifdef _WIN32
#include "platform/windows/WindowsApi.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace wendmoor::testing {
namespace {

// Makes a file read-only as a player would; false when that does not bind this user.
bool MakeReadOnly(const std::string& path) {
#ifdef _WIN32
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
#else
    return ::chmod(path.c_str(), 0444) == 0 && ::geteuid() != 0;
#endif
}

class FileSystemTest : public ::testing::Test {
  protected:
    TempDir dir;
    FileSystem fileSystem;
};

TEST_F(FileSystemTest, ResolvesEveryComponentWithoutRegardToCaseAndKeepsWhatIsMissing) {
    dir.WriteFile("Game/MAPS/rome.MAP", "r");
    EXPECT_EQ(fileSystem.Resolve(dir.At("game/Maps/Rome.map")), dir.At("Game/MAPS/rome.MAP"));
    EXPECT_TRUE(fileSystem.FileExists(dir.At("GAME/maps/ROME.map")));
    EXPECT_FALSE(fileSystem.FileExists(dir.At("game/maps")));         // a folder
    EXPECT_FALSE(fileSystem.FileExists(dir.At("game/maps/r*.map")));  // no wildcards
    EXPECT_TRUE(fileSystem.FolderExists(dir.At("game/MAPS")));
    EXPECT_TRUE(fileSystem.FolderExists(dir.At("GAME/maps/")));
    EXPECT_FALSE(fileSystem.IsSymbolicLink(dir.At("game/maps")));
    // What is missing stays as given, below what is there.
    EXPECT_EQ(fileSystem.Resolve(dir.At("game/maps/New.map")), dir.At("Game/MAPS/New.map"));
    EXPECT_EQ(fileSystem.Resolve(dir.At("game/Nowhere/New.map")), dir.At("Game/Nowhere/New.map"));
    EXPECT_EQ(fileSystem.Resolve(dir.At("game/maps/")), dir.At("Game/MAPS/"));
#ifdef _WIN32
    EXPECT_EQ(fileSystem.Resolve("C:\\"), "C:\\");
#endif
}

#ifndef _WIN32
// Letters beyond ASCII match in either case too; a name that is no valid UTF-8 (an old code
// page's) matches byte for byte, its A to Z aside.
TEST_F(FileSystemTest, ResolvesLettersBeyondAsciiWithoutRegardToCase) {
    const std::pair<std::string, std::string> sameFile[] = {
        {"Ägypten.map", "ägypten.MAP"}, {"Öl.sav", "öL.sav"}, {"Église.map", "église.map"},
        {"ΟΔΟΣ.map", "οδος.map"},       {"σς.sav", "ΣΣ.sav"}, {"Жук.map", "жук.map"},
        {"\x8E.MAP", "\x8E.map"},
    };
    for (const auto& [onDisk, asked] : sameFile) dir.WriteFile("Maps/" + onDisk, "x");
    for (const auto& [onDisk, asked] : sameFile) {
        EXPECT_EQ(fileSystem.Resolve(dir.At("MAPS/" + asked)), dir.At("Maps/" + onDisk)) << asked;
    }
    EXPECT_FALSE(fileSystem.FileExists(dir.At("Maps/\x84.map")));
}
#endif

TEST_F(FileSystemTest, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    dir.MakeFolder("Adventures");
    bool created = false;
    EXPECT_TRUE(fileSystem.CreateFolder(dir.At("adventures/Troy"), &created).Ok());
    EXPECT_TRUE(created);
    EXPECT_TRUE(fileSystem.CreateFolder(dir.At("ADVENTURES/troy"), &created).Ok());
    EXPECT_FALSE(created);
    EXPECT_FALSE(fileSystem.CreateFolder(dir.At("missing/Troy")).Ok());
    dir.WriteFile("Adventures/Troy/keep.txt", "k");
    EXPECT_TRUE(fileSystem.RemoveFolder(dir.At("Adventures/TROY")).Ok());
    EXPECT_EQ(ListTree(dir.path()), "Adventures/\nAdventures/Troy/\nAdventures/Troy/keep.txt\n");
    EXPECT_FALSE(fileSystem.DeleteFile(dir.At("adventures/troy")).Ok());  // a folder
    EXPECT_TRUE(fileSystem.DeleteFile(dir.At("adventures/troy/gone.txt")).Ok());
    EXPECT_TRUE(fileSystem.DeleteFile(dir.At("Adventures/Troy/KEEP.txt")).Ok());
    // Gone from what the lookups know, too: a missing name stays as given.
    EXPECT_EQ(fileSystem.Resolve(dir.At("adventures/troy/KEEP.TXT")),
              dir.At("Adventures/Troy/KEEP.TXT"));
    EXPECT_TRUE(fileSystem.RemoveFolder(dir.At("Adventures/TROY")).Ok());
    EXPECT_EQ(ListTree(dir.path()), "Adventures/\n");
}

TEST_F(FileSystemTest, WhatALookupLearnedStaysTrueAfterOurOwnWritesUntilForgotten) {
    dir.MakeFolder("Maps");
    EXPECT_FALSE(fileSystem.FileExists(dir.At("maps/Rome.map")));  // lists "Maps"
    {
        FileReplacement file(fileSystem, dir.At("maps/Rome.map"));
        ASSERT_TRUE(file.Write("r", 1));
        ASSERT_TRUE(file.Commit().Ok());
    }
    EXPECT_TRUE(fileSystem.FileExists(dir.At("MAPS/ROME.MAP")));
    EXPECT_TRUE(fileSystem.DeleteFile(dir.At("maps/rome.map")).Ok());
    EXPECT_FALSE(fileSystem.FileExists(dir.At("MAPS/ROME.MAP")));
    // What others change shows once the listings are forgotten.
    dir.WriteFile("Maps/Troy.map", "t");
    fileSystem.ForgetListings();
    EXPECT_TRUE(fileSystem.FileExists(dir.At("maps/troy.map")));
}

TEST_F(FileSystemTest, TheFileSystemOfAFolderItsFreeSpaceAndItsSync) {
    const std::string sub = dir.MakeFolder("Maps");
    const std::string file = dir.WriteFile("Maps/Rome.map", "r");
    const std::optional<std::uint64_t> free = FreeSpaceOf(sub);
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
    EXPECT_FALSE(FreeSpaceOf(dir.At("nowhere/")).has_value());
    ASSERT_TRUE(FileSystemOf(dir.path()).has_value());
    EXPECT_EQ(FileSystemOf(sub), FileSystemOf(dir.path()));
    EXPECT_FALSE(FileSystemOf(file).has_value());
    EXPECT_FALSE(FileSystemOf(dir.At("nowhere/")).has_value());
    EXPECT_TRUE(fileSystem.SyncFolder(dir.At("maps/")).Ok());
    EXPECT_TRUE(fileSystem.SyncFileSystemsOf({dir.At("maps/"), dir.path()}).Ok());
    EXPECT_FALSE(fileSystem.SyncFolder(dir.At("nowhere/")).Ok());
}

// Names are UTF-8 in the program on every system, whatever the Windows code page: each is
// written, found with its ASCII letters in another case, listed, replaced and deleted as
// itself, in a folder whose name is beyond ASCII too.
TEST_F(FileSystemTest, NamesBeyondAsciiWorkLikeAnyOther) {
    const struct {
        std::string name;
        std::string otherCase;
        const wchar_t* onDisk;  // as Windows spells it
    } cases[] = {
        {"Caesar \xe2\x82\xac.map", "CAESAR \xe2\x82\xac.MAP", L"Caesar \u20ac.map"},
        {"K\xc3\xa4se.sav", "k\xc3\xa4SE.SAV", L"K\u00e4se.sav"},
        {"\xd0\x96ukov.map", "\xd0\x96UKOV.map", L"\u0416ukov.map"},
    };
    const std::string folder = dir.At("\xd0\x9a\xc3\xa4rten") + kPathSeparator;
    ASSERT_TRUE(fileSystem.CreateFolder(folder).Ok());
    for (const auto& [name, otherCase, onDisk] : cases) {
        for (const std::string& target : {name, otherCase}) {  // made, then replaced
            FileReplacement file(fileSystem, folder + target);
            ASSERT_TRUE(file.Write(target.data(), target.size())) << name;
            ASSERT_TRUE(file.Commit().Ok()) << name;
            EXPECT_EQ(file.Target(), folder + name);
        }
        EXPECT_TRUE(fileSystem.FileExists(folder + otherCase)) << name;
        std::vector<FileSystem::FolderEntry> entries;
        ASSERT_TRUE(fileSystem.ListFolder(folder, entries).Ok());
        ASSERT_EQ(entries.size(), 1u) << name;
        EXPECT_EQ(entries[0].name, name);
#ifdef _WIN32
        const std::wstring path =
            std::wstring(dir.path().begin(), dir.path().end()) + L"\u041a\u00e4rten\\" + onDisk;
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << name;
#else
        EXPECT_EQ(ReadFileBytes(folder + name), otherCase);
#endif
        EXPECT_TRUE(fileSystem.DeleteFile(folder + otherCase).Ok()) << name;
        EXPECT_FALSE(fileSystem.FileExists(folder + name)) << name;
    }
    EXPECT_TRUE(fileSystem.RemoveFolder(folder).Ok());
    EXPECT_FALSE(fileSystem.FolderExists(folder));
}

#ifdef _WIN32
// A name that is not UTF-8 names no file: never another file under a replaced character.
TEST_F(FileSystemTest, ANameThatIsNotUtf8IsAbsentAndCannotBeWritten) {
    const std::string bad = dir.At("K\xe4se.map");
    EXPECT_FALSE(fileSystem.FileExists(bad));
    for (const Outcome& outcome :
         {fileSystem.DeleteFile(bad), fileSystem.CreateFolder(bad), fileSystem.RemoveFolder(bad),
          FileReplacement(fileSystem, bad).OpenOutcome()}) {
        ASSERT_EQ(outcome.Failures().size(), 1u);
        EXPECT_EQ(outcome.Lines()[0], bad + ": not a valid UTF-8 name");
    }
    EXPECT_EQ(ListTree(dir.path()), "");
}
#else
// Only a disk that respects letter case holds several spellings of one name.
TEST_F(FileSystemTest, PrefersTheExactSpellingAndDeletesOnlyIt) {
    dir.WriteFile("Maps/rome.map", "lower");
    dir.WriteFile("Maps/Rome.map", "mixed");
    dir.WriteFile("Maps/ROME.MAP", "upper");
    EXPECT_EQ(fileSystem.Resolve(dir.At("maps/Rome.map")), dir.At("Maps/Rome.map"));
    EXPECT_EQ(fileSystem.Resolve(dir.At("maps/rome.map")), dir.At("Maps/rome.map"));
    // No exact spelling: the choice is the same every time, whatever the folder's order.
    EXPECT_EQ(fileSystem.Resolve(dir.At("maps/rOME.map")), dir.At("Maps/ROME.MAP"));
    EXPECT_TRUE(fileSystem.DeleteFile(dir.At("maps/ROME.MAP")).Ok());
    EXPECT_EQ(ListTree(dir.At("Maps")), "Rome.map\nrome.map\n");
    // The next spelling is found, not the name the folder's listing held before the delete.
    EXPECT_EQ(fileSystem.Resolve(dir.At("maps/rOME.map")), dir.At("Maps/Rome.map"));
}
#endif

class FileReplacementTest : public FileSystemTest {};

TEST_F(FileReplacementTest, TheTargetHoldsTheOldBytesUntilTheCommit) {
    const std::string target = dir.WriteFile("Maps/Rome.map", "old");
    // What the player set on the file goes over to the new one.
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
#endif
    for (const bool finished : {false, true}) {
        FileReplacement discarded(fileSystem, dir.At("maps/ROME.MAP"));
        ASSERT_TRUE(discarded.Write("never seen", 10));
        if (finished) {
            ASSERT_TRUE(discarded.Finish().Ok());
        }
    }
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(ListTree(dir.At("Maps")), "Rome.map\n");

    FileReplacement file(fileSystem, dir.At("maps/ROME.MAP"));
    EXPECT_EQ(file.Target(), target);
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_EQ(ReadFileBytes(target), "old");
    ASSERT_TRUE(file.Commit().Ok());
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(ListTree(dir.At("Maps")), "Rome.map\n");
    // What the commit wrote is known without listing the folder again.
    EXPECT_TRUE(fileSystem.FileExists(dir.At("MAPS/rome.map")));
#ifdef _WIN32
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
#else
    struct stat info;
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
#endif
}

TEST_F(FileReplacementTest, RefusesFoldersReadOnlyFilesAndMissingFolders) {
    dir.MakeFolder("Folder.map");
    const std::string readOnly = dir.WriteFile("ReadOnly.map", "kept");
    std::vector<std::string> refused = {"folder.map", "nowhere/New.map"};
    if (MakeReadOnly(readOnly)) refused.push_back("readonly.map");
    for (const std::string& target : refused) {
        FileReplacement file(fileSystem, dir.At(target));
        EXPECT_FALSE(file.IsOpen()) << target;
        EXPECT_FALSE(file.OpenOutcome().Ok()) << target;
        EXPECT_FALSE(file.Commit().Ok()) << target;
    }
    EXPECT_EQ(ReadFileBytes(readOnly), "kept");
    EXPECT_EQ(ListTree(dir.path()), "Folder.map/\nReadOnly.map\n");
}

// Only a file of the exact form we make, whose process is gone and which was written before
// this command started, is ours to remove: a file of the player's named like ours stays.
TEST_F(FileReplacementTest, TheSweepRemovesOnlyTemporaryFilesOfEndedProcesses) {
#ifdef _WIN32
    const unsigned long self = GetCurrentProcessId();
#else
    const unsigned long self = static_cast<unsigned long>(::getpid());
#endif
    const struct {
        std::string name;
        bool old;  // written an hour ago, before this process started
    } kept[] = {
        {".wendmoor-" + std::to_string(self) + "-a1B2c3", true},  // its process still runs
        {kDeadProcessTemporaryName, false},                       // newer than this command
        {".wendmoor-campaign.sav", true},  // a name a package or the player chose
        {".wendmoor-a1B2c3", true},        // no process id
        {".wendmoor-4000000000-a1B2c", true},
        {".wendmoor-4000000000-a1B2c3.sav", true},
        {".wendmoor-40x0-a1B2c3", true},
        {".wendmoorish.map", true},
    };
    std::vector<std::string> expected = {".wendmoor-1-folder/"};
    for (const auto& file : kept) {
        const std::string path = dir.At("Maps/" + file.name);
        file.old ? WriteLeftover(path) : dir.WriteFile("Maps/" + file.name, "new");
        expected.push_back(file.name);
    }
    WriteLeftover(dir.At("Maps/.wendmoor-4000000000-zzzzzz"));
    WriteLeftover(dir.At("Maps/.wendmoor-1-folder/"));
#ifndef _WIN32
    ASSERT_EQ(::symlink("/nonexistent", dir.At("Maps/.wendmoor-4000000000-link00").c_str()), 0);
    expected.push_back(".wendmoor-4000000000-link00");
#endif
    EXPECT_TRUE(fileSystem.RemoveStaleTemporaryFiles(dir.At("maps/")).Ok());
    std::sort(expected.begin(), expected.end());
    std::string lines;
    for (const std::string& name : expected) lines += name + '\n';
    EXPECT_EQ(ListTree(dir.At("Maps")), lines);
}

}  // namespace
}  // namespace wendmoor::testing
