// The scan reads archives on several threads; what it reports must be what one thread reading
// the folder in its order would.
#include "packages/MissionScan.h"

#include <atomic>
#include <stdexcept>

#include "GameTree.h"
#include "games/Games.h"
#include "packages/FileRefCounts.h"
#include "platform/ParallelFor.h"

namespace wendmoor::testing {
namespace {

TEST(ParallelForTest, RunsEveryIndexOnceAndPassesOnAFailure) {
    std::vector<std::atomic<int>> runs(1000);
    ParallelFor(runs.size(), 4, [&](std::size_t index) { ++runs[index]; });
    for (const auto& count : runs) EXPECT_EQ(count, 1);
    EXPECT_THROW(ParallelFor(runs.size(), 4,
                             [](std::size_t index) {
                                 if (index == 500) throw std::runtime_error("index 500");
                             }),
                 std::runtime_error);
}

using MissionScanTest = testing::GameSessionTest;

TEST_F(MissionScanTest, ListsAndReferencesFollowTheFolderOrder) {
    // Every package shares one map; every third has its own map in place as well.
    for (int i = 0; i < 60; ++i) {
        const std::string own = "own" + std::to_string(i) + ".map";
        Package(paths.caesar3_missions, "p" + std::to_string(i) + ".zip",
                ZipWriter().Add("shared.map", "s").Add(own, "o"));
        if (i % 3 == 0) dir.WriteFile("Caesar3/" + own, "o");
    }
    dir.WriteFile("Caesar3/shared.map", "s");
    std::vector<FileSystem::FolderEntry> entries;
    ASSERT_TRUE(fileSystem.ListFolder(paths.caesar3_missions, entries).Ok());
    Strings installed, available;
    for (const auto& entry : entries) {
        const int number = std::stoi(entry.name.substr(1));
        (number % 3 == 0 ? installed : available).push_back(entry.name);
    }

    FileRefCounts refs(fileSystem);
    PackageLists lists;
    PackageCommandContext context{paths, fileSystem, refs};
    ASSERT_TRUE(ScanGameMissions(*FindGame(kCaesar3), context, lists).Ok());
    EXPECT_EQ(lists.installed, installed);
    EXPECT_EQ(lists.available, available);
    EXPECT_EQ(refs.CountOf(paths.caesar3_path + "shared.map"), 20);
    EXPECT_EQ(refs.CountOf(paths.caesar3_path + "own3.map"), 1);
    EXPECT_EQ(refs.Snapshot().size(), 21u);
}

}  // namespace
}  // namespace wendmoor::testing
