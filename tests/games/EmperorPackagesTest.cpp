#include "packages/EmperorPackages.h"

#include <gtest/gtest.h>

#include "GameTree.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/Games.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor {
namespace {

using testing::ListTree;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::ZipWriter;
using Strings = std::vector<std::string>;

ZipWriter RomeArchive(const std::string& secondMap = "Campaign/Rome2.MAP") {
    return ZipWriter()
        .Add("Rome.pak", "pak")
        .Add("Rome.set", "set")
        .Add("Campaign/Rome1.map", "one")
        .Add(secondMap, "two")
        .Add("Alexandria.map", "city")
        .Add("start.sav", "save")
        .Add("notes.txt", "notes");
}

class EmperorTest : public testing::GameSessionTest {
  protected:
    std::string Package(const std::string& name, const ZipWriter& zip) {
        return GameSessionTest::Package(paths.emperor_missions, name, zip);
    }

    std::optional<EmperorEntries> Classify(const ZipWriter& zip) {
        return ClassifyEmperorArchive(Package("p.zip", zip));
    }

    int CityRefs(const std::string& map) {
        return session.FileRefs().CountOf(paths.emperor_path + "Cities/" + map);
    }
};

TEST_F(EmperorTest, SplitsTheCampaignFromTheCityMaps) {
    std::optional<EmperorEntries> c = Classify(RomeArchive());
    ASSERT_TRUE(c);
    EXPECT_EQ(c->pakName, "Rome.pak");
    EXPECT_EQ(c->setName, "Rome.set");
    EXPECT_EQ(c->maps, (Strings{"Alexandria.map"}));
    EXPECT_EQ(c->campaignMaps, (Strings{"Rome2.map", "Rome1.map"}));
    EXPECT_EQ(c->others, (Strings{"notes.txt"}));

    c = Classify(RomeArchive("rome3.map"));  // letter case counts
    EXPECT_EQ(c->maps, (Strings{"rome3.map", "Alexandria.map"}));
    EXPECT_EQ(c->campaignMaps, (Strings{"Rome1.map"}));

    c = Classify(
        ZipWriter().Add("A.pak", "p").Add("B.PAK", "p").Add("A.set", "s").Add("B.set", "s"));
    EXPECT_EQ(c->pakName, "A.pak");
    EXPECT_EQ(c->setName, "A.set");
    EXPECT_TRUE(c->others.empty());

    c = Classify(ZipWriter().Add(".set", "s").Add("a.map", "m").Add("b.sav", "s"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->campaignMaps, (Strings{"a.map"}));  // an empty campaign name takes every map

    // A campaign alone is no package.
    EXPECT_FALSE(Classify(ZipWriter().Add("Rome.set", "s").Add("Rome1.map", "m")));
    EXPECT_FALSE(Classify(ZipWriter().Add("Rome.set", "s").Add("notes.txt", "n")));
}

TEST_F(EmperorTest, InstallPutsEveryFileWhereItBelongs) {
    const std::string before = ListTree(paths.emperor_path);
    Package("Rome.zip", RomeArchive());
    ASSERT_TRUE(session.SelectGame(kEmperor));
    session.ShowPackageContent("Rome.zip");
    EXPECT_EQ(session.Content(), (Strings{"C Rome.pak", "E Rome.set", "E Rome1.map", "E Rome2.map",
                                          "M Alexandria.map", "S start.sav", "Z notes.txt"}));
    EXPECT_EQ(session.Lists().available, (Strings{"Rome.zip"}));

    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path),
              "Campaigns/\nCampaigns/Rome.pak\nCampaigns/Rome/\nCampaigns/Rome/Rome.set\n"
              "Campaigns/Rome/Rome1.map\nCampaigns/Rome/Rome2.map\nCities/\n"
              "Cities/Alexandria.map\nSave/\nSave/start.sav\n");
    EXPECT_EQ(ReadFileBytes(paths.emperor_path + "Campaigns/Rome/Rome2.map"), "two");
    EXPECT_EQ(session.Lists().installed, (Strings{"Rome.zip"}));
    EXPECT_EQ(session.FileRefs().Snapshot().size(), 1u);
    EXPECT_EQ(CityRefs("Alexandria.map"), 1);

    ASSERT_TRUE(session.RunPackageCommand("Rome.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path), before);
    EXPECT_EQ(session.Lists().available, (Strings{"Rome.zip"}));
}

TEST_F(EmperorTest, CampaignOnlyArchiveIsNoPackage) {
    Package("campaign.zip", ZipWriter().Add("Rome.set", "s").Add("Rome1.map", "m"));
    Package("withcity.zip", ZipWriter().Add("Rome.set", "s").Add("Alexandria.map", "m"));
    ASSERT_TRUE(session.SelectGame(kEmperor));
    EXPECT_EQ(session.Lists().available, (Strings{"withcity.zip"}));
    EXPECT_TRUE(session.Lists().installed.empty());

    session.ShowPackageContent("campaign.zip");
    EXPECT_TRUE(session.Content().empty());
    EXPECT_FALSE(session.RunPackageCommand("campaign.zip", true).Ok());

    EXPECT_TRUE(session.RunPackageCommand("withcity.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path),
              "Campaigns/\nCampaigns/Rome/\nCampaigns/Rome/Rome.set\nCities/\n"
              "Cities/Alexandria.map\nSave/\n");
}

TEST_F(EmperorTest, SharedCityMapsAreCountedCampaignMapsAndSavesAreNot) {
    Package("a.zip", ZipWriter().Add("A.pak", "p").Add("Shared.map", "m"));
    Package("b.zip", ZipWriter().Add("B.pak", "p").Add("SHARED.MAP", "m"));
    Package("c.zip", ZipWriter().Add("War.set", "s").Add("War1.map", "m").Add("c.sav", "s"));
    Package("d.zip", ZipWriter().Add("War.set", "s").Add("War1.map", "m").Add("d.sav", "s"));
    Package("e.zip", ZipWriter().Add("E.pak", "p").Add("shared.sav", "s"));
    Package("f.zip", ZipWriter().Add("F.pak", "p").Add("shared.sav", "s"));
    ASSERT_TRUE(session.SelectGame(kEmperor));
    for (const char* name : {"a.zip", "b.zip", "c.zip", "d.zip", "e.zip", "f.zip"}) {
        EXPECT_TRUE(session.RunPackageCommand(name, true).Ok());
    }
    EXPECT_EQ(session.Lists().installed.size(), 6u);
    EXPECT_EQ(CityRefs("Shared.map"), 2);

    EXPECT_TRUE(session.RunPackageCommand("a.zip", false).Ok());
    EXPECT_TRUE(session.RunPackageCommand("c.zip", false).Ok());
    EXPECT_TRUE(session.RunPackageCommand("e.zip", false).Ok());
    EXPECT_TRUE(fileSystem.FileExists(paths.emperor_path + "Cities/Shared.map"));
    EXPECT_EQ(CityRefs("Shared.map"), 1);
    EXPECT_EQ(session.Lists().installed, (Strings{"b.zip"}));
}

TEST_F(EmperorTest, CampaignFolderWithForeignFilesStays) {
    Package("Rome.zip", RomeArchive());
    ASSERT_TRUE(session.SelectGame(kEmperor));
    EXPECT_TRUE(session.RunPackageCommand("Rome.zip", true).Ok());
    dir.WriteFile("Emperor/Campaigns/Rome/progress.dat", "the game's own");
    EXPECT_TRUE(session.RunPackageCommand("Rome.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path + "Campaigns/"), "Rome/\nRome/progress.dat\n");
}

TEST_F(EmperorTest, UnnamedCampaignGoesIntoCampaignsWhichStays) {
    Package("x.zip", ZipWriter().Add(".set", "s").Add("a.map", "m").Add("a.sav", "s"));
    ASSERT_TRUE(session.SelectGame(kEmperor));
    EXPECT_TRUE(session.RunPackageCommand("x.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path + "Campaigns/"), ".set\na.map\n");
    EXPECT_EQ(session.Lists().installed, (Strings{"x.zip"}));
    EXPECT_TRUE(session.RunPackageCommand("x.zip", false).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path), "Campaigns/\nCities/\nSave/\n");

    paths.emperor_path = dir.MakeFolder("EmperorWithoutCampaigns");
    EXPECT_FALSE(session.RunPackageCommand("x.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path), "");  // "Campaigns" is never created
    EXPECT_EQ(session.Lists().available, (Strings{"x.zip"}));
}

TEST_F(EmperorTest, HostileCampaignNamesNeverBecomeFolders) {
    // "...set" names the campaign "..": its set and maps would land in the game folder.
    Package("up.zip", ZipWriter().Add("Up.pak", "p").Add("...set", "s").Add("..1.map", "m"));
    const std::string before = ListTree(dir.path());
    ASSERT_TRUE(session.SelectGame(kEmperor));
    EXPECT_EQ(session.Lists().available, (Strings{"up.zip"}));
    EXPECT_TRUE(session.RunPackageCommand("up.zip", true).Ok());
    EXPECT_EQ(ListTree(paths.emperor_path), "Campaigns/\nCampaigns/Up.pak\nCities/\nSave/\n");
    EXPECT_EQ(session.Lists().installed, (Strings{"up.zip"}));
    EXPECT_TRUE(session.RunPackageCommand("up.zip", false).Ok());
    EXPECT_EQ(ListTree(dir.path()), before);
}

}  // namespace
}  // namespace wendmoor
