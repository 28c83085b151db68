#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor::testing {

// The folders of all four games below `under` in `dir`, laid out as the games keep them: a
// missions folder each, the game folders with "Maps", "Adventures", "Campaigns" and "Cities",
// and a save-game folder inside each game folder. Returns them as configured folders.
GamePaths MakeGameFolders(const TempDir& dir, const std::string& under = {});

// The folders of all four games in a temporary folder, and a session over them that never asks
// for folders: the ground of the package tests.
class GameSessionTest : public ::testing::Test {
  protected:
    GameSessionTest() : paths(MakeGameFolders(dir)) {}

    // Writes an archive into a missions folder; returns its path.
    std::string Package(const std::string& missionsFolder, const std::string& name,
                        const ZipWriter& zip) {
        const std::string path = missionsFolder + name;
        EXPECT_TRUE(zip.WriteTo(path));
        return path;
    }

    // One package's way through its game: the archive's entries (name, bytes), the content
    // lines it shows, the game folder's tree after the install, and after the deinstall (empty:
    // the tree from before the install). The package is gone again afterwards.
    struct RoundTrip {
        int game;
        std::vector<std::pair<std::string, std::string>> entries;
        std::vector<std::string> content;
        std::string installed;
        std::string removed;
    };
    void CheckRoundTrip(const RoundTrip& trip);

    TempDir dir;
    GamePaths paths;
    FileSystem fileSystem;
    PackageSession session{paths, fileSystem, nullptr};
};

// A temporary root holding the four games' folders under "games/" and a sentinel folder beside
// them, so a test can tell that nothing was written or deleted outside the game folders.
class GameTree {
  public:
    GameTree();

    const std::string& Root() const { return dir_.path(); }
    std::string Games() const { return Root() + "games/"; }
    // Writes an archive into the game's missions folder; returns its path.
    std::string Package(int game, const std::string& name, const std::string& bytes) const;
    std::string Package(int game, const std::string& name, const ZipWriter& zip) const {
        return Package(game, name, zip.Bytes());
    }
    std::string WriteFile(const std::string& path, const std::string& bytes) const;

    // Every file and folder outside "games/", with the bytes of every file.
    std::string OutsideSnapshot() const;
    // Whether a temporary file of ours is left anywhere below the root.
    bool HasTemporaryFiles() const;

    GamePaths paths;

  private:
    TempDir dir_;
};

// A game tree with a session over it. Every test ends by checking that nothing outside the game
// folders changed and that no temporary file of ours is left.
class GameTreeTest : public ::testing::Test {
  protected:
    void SetUp() override { outsideBefore = tree.OutsideSnapshot(); }
    void TearDown() override {
        EXPECT_EQ(tree.OutsideSnapshot(), outsideBefore);
        EXPECT_FALSE(tree.HasTemporaryFiles());
    }

    GameTree tree;
    GamePaths& paths = tree.paths;
    FileSystem fileSystem;
    PackageSession session{paths, fileSystem, nullptr};
    std::string outsideBefore;
};

// Byte surgery on archives from ZipWriter, for damage it cannot make itself.
// Overwrites a 32-bit field at `at` bytes into the central record of the named entry.
void PatchCentralRecord(std::string& archive, const std::string& name, std::size_t at,
                        std::uint32_t value);
// The offset of the named entry's data.
std::size_t EntryDataOf(const std::string& archive, const std::string& name);

}  // namespace wendmoor::testing
