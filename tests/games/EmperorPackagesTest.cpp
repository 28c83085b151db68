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

TEST_F(EmperorTest, InstallPutsEveryFileWhereItBelongsAndDeinstallTakesItAway) {
    const RoundTrip trips[] = {
        {kEmperor,
         {{"Rome.pak", "pak"},
          {"Rome.set", "set"},
          {"Campaign/Rome1.map", "one"},
          {"Campaign/Rome2.MAP", "two"},
          {"Alexandria.map", "city"},
          {"start.sav", "save"},
          {"notes.txt", "notes"}},
         {"C Rome.pak", "E Rome.set", "E Rome1.map", "E Rome2.map", "M Alexandria.map",
          "S start.sav", "Z notes.txt"},
         "Campaigns/\nCampaigns/Rome.pak\nCampaigns/Rome/\nCampaigns/Rome/Rome.set\n"
         "Campaigns/Rome/Rome1.map\nCampaigns/Rome/Rome2.map\nCities/\nCities/Alexandria.map\n"
         "Save/\nSave/start.sav\n",
         ""},
        // A campaign with a city map is a package.
        {kEmperor,
         {{"Rome.set", "s"}, {"Alexandria.map", "m"}},
         {"E Rome.set", "M Alexandria.map"},
         "Campaigns/\nCampaigns/Rome/\nCampaigns/Rome/Rome.set\nCities/\nCities/Alexandria.map\n"
         "Save/\n",
         ""},
        // An unnamed campaign goes into "Campaigns" itself, which stays.
        {kEmperor,
         {{".set", "s"}, {"a.map", "m"}, {"a.sav", "s"}},
         {"E .set", "E a.map", "S a.sav"},
         "Campaigns/\nCampaigns/.set\nCampaigns/a.map\nCities/\nSave/\nSave/a.sav\n",
         ""},
        // "...set" names the campaign "..": its set and maps would land in the game folder.
        {kEmperor,
         {{"Up.pak", "p"}, {"...set", "s"}, {"..1.map", "m"}},
         {"C Up.pak", "E ...set", "E ..1.map"},
         "Campaigns/\nCampaigns/Up.pak\nCities/\nSave/\n",
         ""},
    };
    for (const RoundTrip& trip : trips) CheckRoundTrip(trip);
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

}  // namespace
}  // namespace wendmoor
