#include "games/EmperorPackages.h"

#include "GameTree.h"
#include "platform/Path.h"

namespace wendmoor::testing {
namespace {

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
    std::optional<EmperorEntries> Classify(const ZipWriter& zip) {
        return ClassifyEmperorArchive(Package(kEmperor, "p.zip", zip));
    }

    int CityRefs(const std::string& map) {
        return session.FileRefs().CountOf(paths.emperor_path + SubFolder("Cities") + map);
    }
};

std::string Joined(const Strings& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
    return joined;
}

// The first ".pak" and ".set" count; the campaign's maps are those whose names begin with the
// campaign's name, letter case counting, and an empty campaign name takes every map. A campaign
// alone is no package.
TEST_F(EmperorTest, SplitsTheCampaignFromTheCityMaps) {
    const std::pair<ZipWriter, std::string> cases[] = {
        // archive -> "pak|set|city maps|campaign maps|others" or "none"
        {RomeArchive(), "Rome.pak|Rome.set|Alexandria.map|Rome2.map,Rome1.map|notes.txt"},
        {RomeArchive("rome3.map"),
         "Rome.pak|Rome.set|rome3.map,Alexandria.map|Rome1.map|notes.txt"},
        {ZipWriter().Add("A.pak", "p").Add("B.PAK", "p").Add("A.set", "s").Add("B.set", "s"),
         "A.pak|A.set|||"},
        {ZipWriter().Add(".set", "s").Add("a.map", "m").Add("b.sav", "s"), "|.set||a.map|"},
        {ZipWriter().Add("Rome.set", "s").Add("Rome1.map", "m"), "none"},
        {ZipWriter().Add("Rome.set", "s").Add("notes.txt", "n"), "none"},
    };
    for (const auto& [zip, expected] : cases) {
        const std::optional<EmperorEntries> c = Classify(zip);
        EXPECT_EQ(c ? c->pakName + "|" + c->setName + "|" + Joined(c->maps) + "|" +
                          Joined(c->campaignMaps) + "|" + Joined(c->others)
                    : "none",
                  expected);
    }
}

// The typical campaign's way is the tool's end-to-end case (tests/cli/CliGamesTest.cpp).
TEST_F(EmperorTest, UnusualCampaignsInstallAndDeinstallCleanly) {
    const RoundTrip trips[] = {
        // A campaign with a city map is a package.
        {kEmperor,
         {{"Rome.set", "s"}, {"Alexandria.map", "m"}},
         {"E Rome.set", "M Alexandria.map"},
         "Campaigns/\nCampaigns/Rome/\nCampaigns/Rome/Rome.set\nCities/\nCities/Alexandria.map\n"
         "Save/\n"},
        // An unnamed campaign goes into "Campaigns" itself, which stays.
        {kEmperor,
         {{".set", "s"}, {"a.map", "m"}, {"a.sav", "s"}},
         {"E .set", "E a.map", "S a.sav"},
         "Campaigns/\nCampaigns/.set\nCampaigns/a.map\nCities/\nSave/\nSave/a.sav\n"},
        // "...set" names the campaign "..", which can be no folder of its own: the ".set" is
        // shown as never installed and the maps stay city maps.
        {kEmperor,
         {{"Up.pak", "p"}, {"...set", "s"}, {"..1.map", "m"}},
         {"C Up.pak", "M ..1.map", "Z ...set"},
         "Campaigns/\nCampaigns/Up.pak\nCities/\nCities/..1.map\nSave/\n"},
    };
    for (const RoundTrip& trip : trips) CheckRoundTrip(trip);
}

TEST_F(EmperorTest, SharedCityMapsAreCountedCampaignMapsAndSavesAreNot) {
    Package(kEmperor, "a.zip", ZipWriter().Add("A.pak", "p").Add("Shared.map", "m"));
    Package(kEmperor, "b.zip", ZipWriter().Add("B.pak", "p").Add("SHARED.MAP", "m"));
    Package(kEmperor, "c.zip",
            ZipWriter().Add("War.set", "s").Add("War1.map", "m").Add("c.sav", "s"));
    Package(kEmperor, "d.zip",
            ZipWriter().Add("War.set", "s").Add("War1.map", "m").Add("d.sav", "s"));
    Package(kEmperor, "e.zip", ZipWriter().Add("E.pak", "p").Add("shared.sav", "s"));
    Package(kEmperor, "f.zip", ZipWriter().Add("F.pak", "p").Add("shared.sav", "s"));
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

}  // namespace
}  // namespace wendmoor::testing
