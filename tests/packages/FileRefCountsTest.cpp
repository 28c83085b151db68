#include "packages/FileRefCounts.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/FileSystem.h"

namespace wendmoor::testing {
namespace {

class FileRefCountsTest : public ::testing::Test {
  protected:
    TempDir dir;
    FileSystem fileSystem;
    FileRefCounts refs{fileSystem};
};

TEST_F(FileRefCountsTest, TheLastReleaseUnderAnySpellingDeletesTheFile) {
    const std::string map = dir.WriteFile("Cities/Rome.map", "m");
    EXPECT_TRUE(refs.ReleaseFileRef(map).Ok());  // not counted: not deleted
    EXPECT_EQ(refs.AddFileRef(dir.At("CITIES/rome.MAP")), 1);
    EXPECT_EQ(refs.AddFileRef(map), 2);
    EXPECT_TRUE(refs.ReleaseFileRef(dir.At("cities/ROME.map")).Ok());
    EXPECT_EQ(refs.CountOf(map), 1);
    EXPECT_EQ(ListTree(dir.At("Cities")), "Rome.map\n");
    EXPECT_TRUE(refs.ReleaseFileRef(dir.At("cities/ROME.map")).Ok());
    EXPECT_EQ(ListTree(dir.At("Cities")), "");
    EXPECT_TRUE(refs.Snapshot().empty());
    // Gone already: the count goes all the same.
    refs.AddFileRef(map);
    EXPECT_TRUE(refs.ReleaseFileRef(map).Ok());
    EXPECT_TRUE(refs.Snapshot().empty());
}

TEST_F(FileRefCountsTest, SpellingsThatDifferInCaseShareOneCount) {
    refs.AddFileRef("/Games/C3/Rome.map");
    refs.AddFileRef("/games/c3/rome.map");
    EXPECT_EQ(refs.CountOf("/GAMES/C3/ROME.MAP"), 2);
    EXPECT_EQ(refs.Snapshot(), (std::map<std::string, int>{{"/games/c3/rome.map", 2}}));
    refs.RemoveAll();
    const std::pair<std::string, std::string> sameFile[] = {
        {"Ä.map", "ä.map"},   {"Ö.map", "ö.map"}, {"É.map", "é.map"},      {"Σ.map", "σ.map"},
        {"ας.map", "ΑΣ.map"}, {"Ж.map", "ж.map"}, {"\x8E.MAP", "\x8E.map"}};
    for (const auto& [one, other] : sameFile) {
        refs.AddFileRef("/c3/" + one);
        EXPECT_EQ(refs.AddFileRef("/C3/" + other), 2) << one;
    }
    EXPECT_EQ(refs.CountOf("/c3/\x84.map"), 0);
    refs.RemoveAll();
    EXPECT_TRUE(refs.Snapshot().empty());
}

#ifndef _WIN32
// On a case-respecting disk "rome.map" is another file than the installed "Rome.map".
TEST_F(FileRefCountsTest, DeletesTheInstalledFileNeverItsLowerCaseNeighbour) {
    dir.WriteFile("Cities/Rome.map", "installed");
    dir.WriteFile("Cities/rome.map", "someone else's");
    refs.AddFileRef(dir.path() + "Cities/Rome.map");
    EXPECT_TRUE(refs.ReleaseFileRef(dir.path() + "Cities/Rome.map").Ok());
    EXPECT_EQ(ListTree(dir.path() + "Cities"), "rome.map\n");
}
#endif

}  // namespace
}  // namespace wendmoor::testing
