#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "ZipWriter.h"
#include "games/Games.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor::testing {

using Strings = std::vector<std::string>;

// Every file and folder below `folder`, except its sub-folder `skipped` and what that holds, one
// a line and sorted, with the bytes of every file: what a test compares to see that nothing there
// changed.
std::string TreeWithBytes(const std::string& folder, const std::string& skipped = {});

// The folders of all four games below `under` in `dir`, laid out as the games keep them: a
// missions folder each, the game folders with "Maps", "Adventures", "Campaigns" and "Cities",
// and a save-game folder inside each game folder. Returns them as configured folders.
GamePaths MakeGameFolders(const TempDir& dir, const std::string& under = {});

// The folders of all four games in a temporary folder (below `under` in it), and a session over
// them that never asks for folders: the ground of the package tests.
class GameSessionTest : public ::testing::Test {
  protected:
    explicit GameSessionTest(const std::string& under = {}) : paths(MakeGameFolders(dir, under)) {}

    // Writes an archive into a missions folder, or the game's; returns its path.
    std::string Package(const std::string& missionsFolder, const std::string& name,
                        const ZipWriter& zip) {
        const std::string path = missionsFolder + name;
        EXPECT_TRUE(zip.WriteTo(path));
        return path;
    }
    std::string Package(int game, const std::string& name, const std::string& bytes);
    std::string Package(int game, const std::string& name, const ZipWriter& zip) {
        return Package(game, name, zip.Bytes());
    }

    // One package's way through its game: the archive's entries (name, bytes), the content
    // lines it shows and the game folder's tree after the install; the deinstall leaves the tree
    // from before the install. The package is gone again afterwards.
    struct RoundTrip {
        int game;
        std::vector<std::pair<std::string, std::string>> entries;
        std::vector<std::string> content;
        std::string installed;
    };
    void CheckRoundTrip(const RoundTrip& trip);

    TempDir dir;
    GamePaths paths;
    FileSystem fileSystem;
    PackageSession session{paths, fileSystem, nullptr};
};

// The four games' folders under "games/" with a sentinel folder beside them. Every test ends by
// checking that nothing outside "games/" changed and that no temporary file of ours is left.
class GameTreeTest : public GameSessionTest {
  protected:
    GameTreeTest();
    void SetUp() override { outsideBefore_ = TreeWithBytes(dir.path(), "games"); }
    void TearDown() override;

  private:
    std::string outsideBefore_;
};

// Byte surgery on archives from ZipWriter, for damage it cannot make itself.
// Overwrites a 32-bit field at `at` bytes into the central record of the named entry.
void PatchCentralRecord(std::string& archive, const std::string& name, std::size_t at,
                        std::uint32_t value);
// The offset of the named entry's data.
std::size_t EntryDataOf(const std::string& archive, const std::string& name);

}  // namespace wendmoor::testing
