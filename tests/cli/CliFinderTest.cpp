// detect and add through the built tool: what reaches standard output, standard error, the
// exit status and the disk.
#include "CliFixture.h"
#include "platform/SettingsStore.h"

namespace wendmoor::testing {
namespace {

// The tool with a fake home, and no Wine prefix from the caller's environment.
ProgramOptions InHome(const std::string& home) {
    return {{{"HOME", home}, {"WINEPREFIX", ""}}, {}};
}

TEST_F(CliTest, DetectPrintsASettingsFileAndWritesNothing) {
    TempDir home;
    home.WriteFile(".wine/drive_c/GOG Games/Zeus/Zeus.exe", "");
    home.MakeFolder(".wine/drive_c/GOG Games/Zeus/Save/Anna");
    home.MakeFolder(".wine/drive_c/GOG Games/Zeus/Save/Bert");
    const std::string zeus = home.path() + ".wine/drive_c/GOG Games/Zeus/";
    const std::string before = ListTree(home.path());

    const std::string ini = root.path() + "detected.ini";
    ProgramOptions options = InHome(home.path());
    options.stdoutFile = ini;
    const ProgramRun run = CliBare({"detect"}, options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ListTree(home.path()), before);  // the proposed missions folder is not made

    // Where the games are is the finder's (tests/finder); the tool prints what it found as a
    // settings file, with the other candidates as comments.
    GamePaths detected;
    LoadGamePaths(detected, *OpenIniSettingsStore(ini));
    EXPECT_EQ(detected.zeus_saves, zeus + "Save/Anna/");
    const std::string text = ReadFileBytes(ini).value_or("");
    EXPECT_NE(text.find("; zeus_saves candidate 2 of 2: " + zeus + "Save/Bert/"), std::string::npos)
        << text;

    const ProgramRun nothing = CliBare({"detect"}, InHome(root.MakeFolder("empty home")));
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err, "wendmoor-cli: no game folder found\n");
}

TEST_F(CliTest, AddCopiesThePackagesRefusesTheRestAndInstallsOnRequest) {
    AddPackage(paths.caesar3_missions, "Rome.zip", ZipWriter().Add("Old.map", "old"));
    const TempDir downloads;
    const std::string rome = downloads.WriteFile("Rome.zip", ZipWriter().Add("R.map", "m").Bytes());
    const std::string readme =
        downloads.WriteFile("readme.zip", ZipWriter().Add("readme.txt", "hi").Bytes());

    EXPECT_EQ(
        Cli({"add", "caesar3", readme, rome, "--install"}),
        (ProgramRun{1, "Rome (2).zip\n",
                    "wendmoor-cli: " + readme +
                        ": is not a Caesar III package: it holds nothing Caesar III installs\n"}));
    EXPECT_EQ(Cli({"list", "caesar3"}).out, "I Rome (2).zip\nA Rome.zip\n");
}

}  // namespace
}  // namespace wendmoor::testing
