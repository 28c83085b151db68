#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "SampleSetup.h"
#include "TempDir.h"
#include "packages/ListOrder.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace wendmoor::testing {
namespace {

using namespace sample;

class SampleSetupTest : public ::testing::Test {
  protected:
    // Builds the sample below `folder` in the temporary folder; `paths` are what the program
    // sees when started on the settings file it writes.
    void Build(const std::string& folder) {
        std::string error;
        ASSERT_TRUE(BuildSample(temp.path() + folder, built, error)) << error;
        LoadGamePaths(paths, *OpenIniSettingsStore(built.settingsFile));
    }

    testing::TempDir temp;
    Sample built;
    GamePaths paths;
    FileSystem fileSystem;
    PackageSession session{paths, fileSystem, {}};
};

TEST_F(SampleSetupTest, EveryGameListsItsPackagesFromTheSettingsItWrites) {
    ASSERT_NO_FATAL_FAILURE(Build("sample"));
    EXPECT_EQ(paths, built.paths);
    for (const auto& game : SampleGames()) {
        SCOPED_TRACE(game.folderName);
        EXPECT_TRUE(fileSystem.FileExists(paths.*game.gameFolder + game.programName));
        ASSERT_TRUE(session.SelectGame(game.game));
        std::vector<std::string> installed, available;
        for (const auto& package : game.packages)
            (package.installed ? installed : available).push_back(package.name);
        SortListLines(installed);
        SortListLines(available);
        EXPECT_EQ(session.Lists().installed, installed);
        EXPECT_EQ(session.Lists().available, available);
    }
}

TEST_F(SampleSetupTest, ARebuildKeepsWhatWasInstalledMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(Build(""));
    ASSERT_TRUE(session.SelectGame(kPharao));
    EXPECT_TRUE(session.RunPackageCommand("Delta.zip", false).Ok());
    EXPECT_TRUE(session.RunPackageCommand("Saves Only.zip", true).Ok());

    ASSERT_NO_FATAL_FAILURE(Build(""));
    fileSystem.ForgetListings();
    ASSERT_TRUE(session.SelectGame(kPharao));
    EXPECT_EQ(session.Lists().installed, std::vector<std::string>{"Saves Only.zip"});
}

TEST_F(SampleSetupTest, RefusesAFolderThatHoldsSomethingElse) {
    temp.WriteFile("mine/letter.txt", "mine");
    std::string error;
    EXPECT_FALSE(BuildSample(temp.path() + "mine", built, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ListTree(temp.path() + "mine"), "letter.txt\n");
}

}  // namespace
}  // namespace wendmoor::testing
