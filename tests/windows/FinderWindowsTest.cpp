// The finder's Windows parts: the install folders it looks in and its walk over a drive.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TempDir.h"
#include "finder/FinderPlaces.h"
#include "finder/FolderWalk.h"

namespace wendmoor {
namespace {

TEST(FinderWindowsTest, PlacesAreTheProfileAndTheInstallFolders) {
    const char* profile = std::getenv("USERPROFILE");
    const char* programs = std::getenv("ProgramFiles");
    ASSERT_TRUE(profile != nullptr && programs != nullptr);
    const FinderPlaces places = PlacesFromEnvironment();
    EXPECT_EQ(places.home, std::string(profile) + "\\");
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
