// Installs that could not be written whole are refused before the first byte is written.
#include "packages/ExtractionCheck.h"

#include "GameTree.h"
#include "archive/Archive.h"
#include "games/PackagePlan.h"
#include "platform/Path.h"

namespace wendmoor::testing {
namespace {

constexpr std::size_t kCentralUncompressedSize = 24;

using ExtractionCheckTest = testing::GameTreeTest;

TEST_F(ExtractionCheckTest, SizeBeyondWhatDeflateCanProduceRefusesTheWholePackage) {
    const std::string data(4000, 'z');
    std::string archive = ZipWriter().Add("good.sav", "good").Add("bomb.map", data).Bytes();
    const std::uint64_t compressed = testing::Deflate(data).size();
    testing::PatchCentralRecord(archive, "bomb.map", kCentralUncompressedSize,
                                static_cast<std::uint32_t>(MaxInflatedSize(compressed) + 1));
    Package(kCaesar3, "bomb.zip", archive);
    ASSERT_TRUE(session.SelectGame(kCaesar3));
    EXPECT_FALSE(session.RunPackageCommand("bomb.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "");
    EXPECT_EQ(session.Lists().available, (Strings{"bomb.zip"}));

    // At the limit it is only a very good ratio: the install goes on, the entry fails its length.
    testing::PatchCentralRecord(archive, "bomb.map", kCentralUncompressedSize,
                                static_cast<std::uint32_t>(MaxInflatedSize(compressed)));
    Package(kCaesar3, "bomb.zip", archive);
    EXPECT_FALSE(session.RunPackageCommand("bomb.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.caesar3_path), "good.sav\n");
}

TEST_F(ExtractionCheckTest, DeclaredSizesMustFitTheFreeSpaceOfEachTarget) {
    const std::string path = Package(
        kPharao, "p.zip",
        ZipWriter().Add("a.map", std::string(5000, 'a')).Add("b.sav", std::string(5000, 'b')));
    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    PackagePlan plan;
    plan.File(paths.pharao_path + "Maps/", "a.map", true);
    plan.File(paths.pharao_saves, "b.sav", false);
    plan.File(paths.pharao_saves, "missing.sav", false);
    Strings asked;
    const auto freeSpace = [&](std::uint64_t bytes) {
        return [&asked, bytes](const std::string& folder) -> std::optional<std::uint64_t> {
            asked.push_back(folder);
            return bytes;
        };
    };
    // Both targets lie on one file system: their sizes add up, in whole blocks.
    const Outcome refused = CanExtractPlan(*archive, plan, fileSystem, freeSpace(16383));
    ASSERT_EQ(refused.Lines().size(), 1u);
    EXPECT_EQ(refused.Lines()[0], "the file system of " + asked.at(0) +
                                      ": has too little free space: 16384 bytes needed, "
                                      "16383 bytes free");
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(CanExtractPlan(*archive, plan, fileSystem, freeSpace(16384)).Ok());
    EXPECT_TRUE(CanExtractPlan(*archive, plan, fileSystem, [](const std::string&) {
                    return std::nullopt;
                }).Ok());
    EXPECT_TRUE(CanExtractPlan(*archive, plan, fileSystem).Ok());
}

TEST_F(ExtractionCheckTest, FolderTheInstallCreatesCountsOnItsParentsDisk) {
    const std::string path = Package(kZeus, "z.zip", ZipWriter().Add("Troy.map", "m"));
    const auto archive = Archive::Open(path);
    ASSERT_TRUE(archive);
    PackagePlan plan;
    const std::string folder = plan.MakeFolder(paths.zeus_path + SubFolder("Adventures"), "Troy");
    plan.File(folder, "Troy.map", false);
    std::string asked;
    EXPECT_FALSE(CanExtractPlan(*archive, plan, fileSystem,
                                [&](const std::string& where) -> std::optional<std::uint64_t> {
                                    asked = where;
                                    return 0;
                                })
                     .Ok());
    EXPECT_EQ(asked, paths.zeus_path + SubFolder("Adventures"));
}

}  // namespace
}  // namespace wendmoor::testing
