// Filling the empty settings rows from what was found: never a row that holds a value.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "finder/FolderFill.h"
#include "games/Games.h"
#include "platform/Path.h"

namespace wendmoor::testing {
namespace {

// A path written with "/" in the platform's spelling.
std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

class FolderFillTest : public ::testing::Test {
  protected:
    FolderFillTest() { places.home = root.MakeFolder("home"); }

    // Stands a game's program in a folder and returns the folder.
    std::string Game(const std::string& folder, const char* program) {
        root.WriteFile(folder + program, "");
        return root.At(folder);
    }

    TempDir root;
    FinderPlaces places;
    GameFindings findings;
    std::vector<std::string> asked;  // the rows the player was asked about
};

TEST_F(FolderFillTest, FillsOnlyEmptyRowsAndAsksWhenThereAreSeveral) {
    const std::string pharao1 = Game("a/Pharaoh/", "Pharaoh.exe");
    const std::string pharao2 = Game("b/Pharaoh/", "Pharaoh.exe");
    root.MakeFolder("b/Pharaoh/Save/Anna");
    root.MakeFolder("b/Pharaoh/Save/Bert");
    findings.Add(kPharao, {pharao1, "one"});
    findings.Add(kPharao, {pharao2, "two"});
    // The player's own Zeus folder stays, and its save-game folder is looked for in it.
    findings.Add(kZeus, {Game("found/Zeus/", "zeus.exe"), "found"});
    const std::string ownZeus = Game("own/Zeus/", "Zeus.exe");
    root.MakeFolder("own/Zeus/Save");
    root.MakeFolder("home/Documents/Wendmoor/Zeus");  // made at an earlier start
    findings.Add(kCaesar3, {Game("c3/", "c3.exe"), "c3"});
    findings.Add(kEmperor, {root.At(std::string(kMaxStoredPathLength, 'x') + "/"), "long"});

    GamePaths paths;
    paths.zeus_path = ownZeus;
    paths.caesar3_missions = "/mine/";
    const std::vector<RowFill> filled = FillEmptyFolders(
        paths, findings, places,
        [&](const GamePathField& row,
            const std::vector<FoundFolder>& candidates) -> std::optional<std::size_t> {
            asked.push_back(std::string(row.name) + " " + std::to_string(candidates.size()));
            return 1;
        });

    EXPECT_EQ(asked, std::vector<std::string>({"pharao_path 2", "pharao_saves 2"}));
    GamePaths expected;
    expected.caesar3_missions = "/mine/";
    expected.caesar3_path = root.At("c3/");
    expected.pharao_path = pharao2;
    expected.pharao_saves = pharao2 + Native("Save/Bert/");
    expected.pharao_missions = places.home + Native("Documents/Wendmoor/Pharao/");
    expected.zeus_path = ownZeus;
    expected.zeus_saves = ownZeus + Native("Save/");
    expected.zeus_missions = places.home + Native("Documents/Wendmoor/Zeus/");
    EXPECT_EQ(paths, expected);  // Emperor's folder was too long to store: nothing for it

    std::vector<std::string> rows;
    for (const RowFill& row : filled) {
        const FoundFolder& taken = row.candidates[*row.taken];
        std::string folder = taken.folder;
        std::replace(folder.begin(), folder.end(), kPathSeparator, '/');
        rows.push_back(folder.substr(folder.rfind('/', folder.size() - 2)) +
                       (taken.proposed ? " proposed" : ""));
    }
    EXPECT_EQ(rows, std::vector<std::string>(
                        {"/c3/", "/Pharaoh/", "/Bert/", "/Pharao/ proposed", "/Save/", "/Zeus/"}));
}

TEST_F(FolderFillTest, NoChoiceLeavesTheRowEmptyAndItsGameUnproposed) {
    findings.Add(kEmperor, {Game("a/Emperor/", "emperor.exe"), "one"});
    findings.Add(kEmperor, {Game("b/Emperor/", "emperor.exe"), "two"});
    GamePaths paths;
    const std::vector<RowFill> filled =
        FillEmptyFolders(paths, findings, places, [](auto&, auto&) { return std::nullopt; });
    EXPECT_EQ(paths, GamePaths());
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_FALSE(filled[0].taken.has_value());
}

}  // namespace
}  // namespace wendmoor::testing
