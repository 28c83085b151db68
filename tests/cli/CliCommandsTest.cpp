// What the tool does beyond one package's happy path: refused and failed commands, usage
// errors, exit codes, and where the settings come from.
#include <sys/stat.h>

#include <filesystem>

#include "CliFixture.h"
#include "ScopedVariable.h"
#include "platform/SettingsStore.h"

namespace wendmoor::testing {
namespace {

ZipWriter MapPackage(const std::string& map) {
    return ZipWriter().Add(map, "map " + map);
}

// Exit status 1, the reason on standard error, the package's list on standard output when the
// command got as far, and nothing changed.
TEST_F(CliTest, RefusedAndFailedCommandsGiveAReasonAndChangeNothing) {
    AddPackage(paths.caesar3_missions, "installed.zip", MapPackage("i.map"));
    AddPackage(paths.caesar3_missions, "available.zip", MapPackage("a.map"));
    AddPackage(paths.caesar3_missions, "readme only.zip", ZipWriter().Add("readme.txt", "hi"));
    root.WriteFile("Caesar3/i.map", "installed");
    std::filesystem::remove(paths.pharao_path + "Maps");
    AddPackage(paths.pharao_missions, "Delta.zip", MapPackage("Delta.map"));
    std::filesystem::remove(paths.zeus_missions);
    const std::string before = TreeWithBytes(root.path());

    const struct {
        std::vector<std::string> arguments;
        std::string reason;
        std::string out = "";
    } cases[] = {
        {{"install", "caesar3", "installed.zip"}, "installed.zip is not in Available Missions"},
        {{"deinstall", "caesar3", "available.zip"}, "available.zip is not in Installed Missions"},
        {{"install", "caesar3", "../c3/missions/available.zip"},
         "../c3/missions/available.zip is not in Available Missions"},
        {{"show", "caesar3", "readme only.zip"},
         "readme only.zip is in neither Installed Missions nor Available Missions"},
        {{"install", "pharao", "Delta.zip"},
         paths.pharao_path + "Maps/Delta.map: No such file or directory",
         "A Delta.zip\n"},
        {{"list", "zeus"},
         "The missions folder " + paths.zeus_missions + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cli(c.arguments), (ProgramRun{1, c.out, "wendmoor-cli: " + c.reason + "\n"}));
    }
    EXPECT_EQ(TreeWithBytes(root.path()), before);
}

// With no one to ask, an install that changes the map another installed package uses names it
// on standard error and goes on.
TEST_F(CliTest, AnInstallThatChangesAMapOthersUseNamesThemAndGoesOn) {
    AddPackage(paths.caesar3_missions, "one.zip", MapPackage("Rome.map"));
    AddPackage(paths.caesar3_missions, "two.zip",
               ZipWriter().Add("Rome.map", "other").Add("two.sav", "s"));
    root.WriteFile("Caesar3/Rome.map", "map Rome.map");
    const ProgramRun run = Cli({"install", "caesar3", "two.zip"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "I one.zip\nI two.zip\n");
    EXPECT_TRUE(run.err.starts_with("wendmoor-cli: two.zip changes the map that one.zip uses;"))
        << run.err;
}

// One name is one line: control characters in a package's, an entry's or an added file's name
// are printed escaped, by every command that prints names.
TEST_F(CliTest, ControlCharactersInNamesArePrintedEscaped) {
    AddPackage(paths.caesar3_missions, "two\nlines.zip", MapPackage("tab\tbed.map"));
    const std::string download =
        root.WriteFile("downloads/new\rline\x01.zip", MapPackage("new.map").Bytes());
    EXPECT_EQ(Cli({"list", "caesar3"}), (ProgramRun{0, "A two\\nlines.zip\n", ""}));
    EXPECT_EQ(Cli({"show", "caesar3", "two\nlines.zip"}), (ProgramRun{0, "M tab\\tbed.map\n", ""}));
    EXPECT_EQ(Cli({"add", "caesar3", download}), (ProgramRun{0, "new\\rline\\x01.zip\n", ""}));
}

// A file of the missions folder that cannot be read is named with the system's reason: the
// listings say what they could read and fail, and a command on it says why it cannot act.
TEST_F(CliTest, APackageThatCannotBeReadIsNamedNotPassedOver) {
    AddPackage(paths.caesar3_missions, "good.zip", MapPackage("g.map"));
    std::filesystem::create_symlink(root.At("unmounted/gone.zip"),
                                    paths.caesar3_missions + "gone.zip");
    ASSERT_EQ(::mkfifo((paths.pharao_missions + "pipe.zip").c_str(), 0644), 0);
    const std::string gone = "wendmoor-cli: gone.zip: No such file or directory\n";
    const std::string pipe = "wendmoor-cli: pipe.zip: is not a regular file\n";

    const struct {
        std::vector<std::string> arguments;
        ProgramRun run;
    } cases[] = {
        {{"list", "caesar3"}, {1, "A good.zip\n", gone}},
        {{"refs", "caesar3"}, {1, "", gone}},
        {{"show", "caesar3", "gone.zip"}, {1, "", gone}},
        {{"install", "caesar3", "gone.zip"}, {1, "", gone}},
        {{"list", "pharao"}, {1, "", pipe}},
    };
    for (const auto& c : cases) EXPECT_EQ(Cli(c.arguments), c.run) << c.arguments[0];
}

// One line each, by exit code; the reasons are the parser's own tests.
TEST_F(CliTest, UsageErrorsPrintTheUsageAndExitTwo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"list", "caesar4"}, {"--settings", settingsFile}}) {
        const ProgramRun run = CliBare(arguments);
        EXPECT_TRUE(run.exitCode == 2 && run.out.empty() &&
                    run.err.find("usage: ") != std::string::npos)
            << Lines(arguments);
    }
    EXPECT_EQ(CliBare({"--help"}).out.rfind("usage: wendmoor-cli", 0), 0u);
    EXPECT_EQ(CliBare({"--version"}), (ProgramRun{0, "wendmoor-cli 1.08\n", ""}));
}

// The settings file is read, never written; a missing one and output that cannot be written
// are failures. Without --settings the tool reads the program's own store.
TEST_F(CliTest, TheSettingsAreOnlyReadFromTheFileOrTheOwnStore) {
    AddPackage(paths.caesar3_missions, "Rome.zip", MapPackage("Rome.map"));
    const auto before = ReadFileBytes(settingsFile);
    ASSERT_EQ(Cli({"install", "caesar3", "Rome.zip"}).exitCode, 0);
    ASSERT_EQ(Cli({"deinstall", "caesar3", "Rome.zip"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(settingsFile), before);
    EXPECT_EQ(Cli({"list", "caesar3"}, {{}, "/dev/full"}),
              (ProgramRun{1, "", "wendmoor-cli: cannot write the output\n"}));

    const std::string config = root.MakeFolder("config");
    {
        // Written where the program looks, through the program's own code.
        const ScopedVariable configHome("XDG_CONFIG_HOME", config);
        ASSERT_TRUE(SaveGamePaths(paths, *OpenDefaultSettingsStore()).Ok());
    }
    const std::string snapshot = TreeWithBytes(root.path());
    EXPECT_EQ(CliBare({"list", "caesar3"}, {{{"XDG_CONFIG_HOME", config}, {"HOME", config}}, ""}),
              (ProgramRun{0, "A Rome.zip\n", ""}));
    EXPECT_EQ(TreeWithBytes(root.path()), snapshot);

    settingsFile = root.path() + "missing.ini";
    EXPECT_EQ(
        Cli({"list", "caesar3"}),
        (ProgramRun{1, "", "wendmoor-cli: cannot read the settings file " + settingsFile + "\n"}));
    EXPECT_FALSE(std::filesystem::exists(settingsFile));
}

}  // namespace
}  // namespace wendmoor::testing
