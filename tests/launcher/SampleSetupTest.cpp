#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "SampleSetup.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/ListOrder.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace wendmoor {
namespace {

using sample::BuildSample;
using sample::Sample;
using sample::SampleGames;
using testing::ListTree;
using testing::TempDir;

// What the program sees when started on the sample's settings file.
GamePaths PathsFromSettings(const Sample& built) {
    GamePaths paths;
    LoadGamePaths(paths, *OpenIniSettingsStore(built.settingsFile));
    return paths;
}

TEST(SampleSetup, EveryGameListsItsPackagesFromTheSettingsItWrites) {
    TempDir temp;
    Sample built;
    std::string error;
    ASSERT_TRUE(BuildSample(temp.path() + "sample", built, error)) << error;

    GamePaths paths = PathsFromSettings(built);
    EXPECT_EQ(paths, built.paths);
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, {});
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

TEST(SampleSetup, ARebuildKeepsWhatWasInstalledMeanwhile) {
    TempDir temp;
    Sample built;
    std::string error;
    ASSERT_TRUE(BuildSample(temp.path(), built, error)) << error;
    GamePaths paths = PathsFromSettings(built);
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, {});
    ASSERT_TRUE(session.SelectGame(kPharao));
    EXPECT_TRUE(session.RunPackageCommand("Delta.zip", false).Ok());
    EXPECT_TRUE(session.RunPackageCommand("Saves Only.zip", true).Ok());

    ASSERT_TRUE(BuildSample(temp.path(), built, error)) << error;

    fileSystem.ForgetListings();
    ASSERT_TRUE(session.SelectGame(kPharao));
    EXPECT_EQ(session.Lists().installed, std::vector<std::string>{"Saves Only.zip"});
}

TEST(SampleSetup, RefusesAFolderThatHoldsSomethingElse) {
    TempDir temp;
    temp.WriteFile("mine/letter.txt", "mine");
    Sample built;
    std::string error;

    EXPECT_FALSE(BuildSample(temp.path() + "mine", built, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ListTree(temp.path() + "mine"), "letter.txt\n");
}

}  // namespace
}  // namespace wendmoor
