// The finder's Windows parts: the install folders it looks in and its walk over a drive.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TempDir.h"
#include "finder/FinderPlaces.h"
#include "finder/FolderWalk.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {
namespace {

// The profile of a user whose name the ANSI code page cannot spell arrives as UTF-8.
TEST(FinderWindowsTest, PlacesAreTheProfileAndTheInstallFolders) {
    const char* programs = std::getenv("ProgramFiles");
    ASSERT_TRUE(programs != nullptr);
    wchar_t profile[MAX_PATH + 1] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH + 1), 0u);
    ASSERT_TRUE(SetEnvironmentVariableW(L"USERPROFILE", L"C:\\users\\\u0416enja"));
    const FinderPlaces places = PlacesFromEnvironment();
    SetEnvironmentVariableW(L"USERPROFILE", profile);
    EXPECT_EQ(places.home,
              "C:\\users\\\xd0\x96"
              "enja\\");
    ASSERT_FALSE(places.installFolders.empty());
    EXPECT_EQ(places.installFolders.front().folder, std::string(programs) + "\\");
    EXPECT_EQ(places.installFolders.front().depth, 2);
    EXPECT_EQ(places.installFolders.back().folder, "C:\\Sierra\\");
}

TEST(FinderWindowsTest, TheWalkListsEachFolderOnceUnderAnySpelling) {
    testing::TempDir folder;
    folder.WriteFile("Games/Zeus/Zeus.exe", "");
    folder.WriteFile("Games/readme.txt", "");
    folder.MakeFolder("Games/Caesar3");
    FolderWalk walk;
    FolderWalk::Listing listing;
    ASSERT_TRUE(walk.ListOnce(folder.path() + "Games\\", listing));
    EXPECT_EQ(listing.folders, (std::vector<std::string>{"Caesar3", "Zeus"}));
    EXPECT_EQ(listing.files, (std::vector<std::string>{"readme.txt"}));
    EXPECT_FALSE(walk.ListOnce(folder.path() + "GAMES", listing));
    EXPECT_TRUE(walk.ListOnce(folder.path() + "games\\zeus\\", listing));
    EXPECT_EQ(listing.files, (std::vector<std::string>{"Zeus.exe"}));
    EXPECT_FALSE(walk.ListOnce(folder.path() + "Games\\readme.txt", listing));
    EXPECT_TRUE(FolderWalk::IsFolder(folder.path() + "games\\caesar3"));
}

}  // namespace
}  // namespace wendmoor
