// What the tool does beyond one package's happy path: list order, shared files, refused
// commands, raw byte names, exit codes and where the settings come from.
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "CliFixture.h"
#include "platform/Path.h"
#include "platform/SettingsStore.h"

namespace wendmoor::testing {
namespace {

// Sets an environment variable of this process for one scope.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

ZipWriter MapPackage(const std::string& map) {
    return ZipWriter().Add(map, "map " + map);
}

TEST_F(CliTest, ListPrintsInstalledThenAvailableEachInWindowOrder) {
    const std::string& missions = paths.caesar3_missions;
    AddPackage(missions, "beta.zip", MapPackage("b.map"));
    AddPackage(missions, "Alpha.zip", MapPackage("a.map"));
    AddPackage(missions, "gamma.zip", MapPackage("g.map"));
    AddPackage(missions, "Delta.ZIP", MapPackage("d.map"));
    AddPackage(missions, "x.dat", MapPackage("x.map"));
    AddPackage(missions, "\xc3\x84gypten.zip", MapPackage("e.map"));  // collated with A
    AddPackage(missions, "readme only.zip", ZipWriter().Add("readme.txt", "hi"));
    root.WriteFile("c3missions/broken.zip", "PK no archive");
    root.MakeFolder("c3missions/folder.zip");
    root.WriteFile("Caesar3/b.map", "present");
    root.WriteFile("Caesar3/a.map", "present");

    ProgramOptions german;
    german.environment = {{"LC_ALL", "de_DE.UTF-8"}};
    const ProgramRun run = Cli({"list", "caesar3"}, german);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "I Alpha.zip\nI beta.zip\nA \xc3\x84gypten.zip\nA Delta.ZIP\nA gamma.zip\nA x.dat\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, SharedMapIsCountedPerPackageAndKeptUntilTheLastDeinstall) {
    AddPackage(paths.pharao_missions, "first.zip",
               ZipWriter().Add("Shared.map", "shared").Add("Own.MAP", "own"));
    AddPackage(paths.pharao_missions, "second.zip",
               ZipWriter().Add("shared.map", "shared").Add("Second.map", "second"));
    ProgramRun run = Cli({"install", "pharao", "first.zip"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Cli({"install", "pharao", "second.zip"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "I first.zip\nI second.zip\n");

    const std::string maps = AsciiLower(paths.pharao_path) + "maps/";
    run = Cli({"refs", "PHARAO"});
    EXPECT_EQ(run.out,
              "1 " + maps + "own.map\n1 " + maps + "second.map\n2 " + maps + "shared.map\n");

    run = Cli({"deinstall", "pharao", "first.zip"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "I second.zip\nA first.zip\n");
    EXPECT_TRUE(ReadFileBytes(paths.pharao_path + "Maps/Shared.map").has_value());
    EXPECT_FALSE(ReadFileBytes(paths.pharao_path + "Maps/Own.map").has_value());
    EXPECT_EQ(Cli({"refs", "pharao"}).out, "1 " + maps + "second.map\n1 " + maps + "shared.map\n");
}

TEST_F(CliTest, RefusedCommandsGiveAReasonAndChangeNothing) {
    AddPackage(paths.caesar3_missions, "installed.zip", MapPackage("i.map"));
    AddPackage(paths.caesar3_missions, "available.zip", MapPackage("a.map"));
    AddPackage(paths.caesar3_missions, "readme only.zip", ZipWriter().Add("readme.txt", "hi"));
    root.WriteFile("Caesar3/i.map", "installed");
    const std::string before = Snapshot();

    struct Refusal {
        std::vector<std::string> arguments;
        std::string reason;
    };
    const Refusal refusals[] = {
        {{"install", "caesar3", "installed.zip"}, "installed.zip is not in Available Missions"},
        {{"deinstall", "caesar3", "available.zip"}, "available.zip is not in Installed Missions"},
        {{"install", "caesar3", "readme only.zip"}, "readme only.zip is not in Available Missions"},
        {{"install", "caesar3", "missing.zip"}, "missing.zip is not in Available Missions"},
        {{"install", "caesar3", "../c3/missions/available.zip"},
         "../c3/missions/available.zip is not in Available Missions"},
        {{"show", "caesar3", "readme only.zip"},
         "readme only.zip is in neither Installed Missions nor Available Missions"},
    };
    for (const Refusal& refusal : refusals) {
        const ProgramRun run = Cli(refusal.arguments);
        EXPECT_EQ(run.exitCode, 1) << refusal.reason;
        EXPECT_EQ(run.out, "") << refusal.reason;
        EXPECT_EQ(run.err, "wendmoor-cli: " + refusal.reason + "\n");
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliTest, PackageNamesTravelAsRawBytes) {
    const std::string latin1 = "R\xF6ma.zip";  // not valid UTF-8
    AddPackage(paths.caesar3_missions, latin1, ZipWriter().Add("M\xE4p.map", "map"));

    ProgramRun run = Cli({"list", "caesar3"});
    EXPECT_EQ(run.out, "A " + latin1 + "\n");
    run = Cli({"show", "caesar3", latin1});
    EXPECT_EQ(run.out, "M M\xE4p.map\n");

    run = Cli({"install", "caesar3", latin1});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "I " + latin1 + "\n");
    EXPECT_EQ(ReadFileBytes(paths.caesar3_path + "M\xE4p.map"), "map");
    EXPECT_EQ(Cli({"refs", "caesar3"}).out, "1 " + AsciiLower(paths.caesar3_path) + "m\xE4p.map\n");

    run = Cli({"deinstall", "caesar3", latin1});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "A " + latin1 + "\n");
}

TEST_F(CliTest, InstallThatLeavesThePackageAvailableFails) {
    std::filesystem::remove(paths.pharao_path + "Maps");
    AddPackage(paths.pharao_missions, "Delta.zip", MapPackage("Delta.map"));

    const ProgramRun run = Cli({"install", "pharao", "Delta.zip"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "A Delta.zip\n");
    EXPECT_EQ(run.err,
              "wendmoor-cli: " + paths.pharao_path + "Maps/Delta.map: No such file or directory\n");
}

TEST_F(CliTest, AMissionsFolderThatCannotBeReadIsNoEmptyList) {
    std::filesystem::remove(paths.zeus_missions);
    const ProgramRun run = Cli({"list", "zeus"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "the missions folder " + paths.zeus_missions + ": No such file or directory\n");
}

TEST_F(CliTest, UsageErrorsPrintTheUsageAndExitTwo) {
    // Each kind of mistake once; the reasons are the parser's own tests.
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"list", "caesar4"},
        {"show", "caesar3"},
        {"--settings", settingsFile},
    };
    for (const std::vector<std::string>& arguments : mistakes) {
        const ProgramRun run = CliBare(arguments);
        EXPECT_EQ(run.exitCode, 2) << Lines(arguments);
        EXPECT_EQ(run.out, "") << Lines(arguments);
        EXPECT_NE(run.err.find("usage: wendmoor-cli"), std::string::npos) << Lines(arguments);
    }

    ProgramRun run = CliBare({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("usage: wendmoor-cli", 0), 0u);
    EXPECT_EQ(run.err, "");

    run = CliBare({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "wendmoor-cli 1.08\n");
}

TEST_F(CliTest, SettingsFileIsOnlyRead) {
    AddPackage(paths.caesar3_missions, "Rome.zip", MapPackage("Rome.map"));
    const auto before = ReadFileBytes(settingsFile);
    ASSERT_EQ(Cli({"install", "caesar3", "Rome.zip"}).exitCode, 0);
    ASSERT_EQ(Cli({"deinstall", "caesar3", "Rome.zip"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(settingsFile), before);

    settingsFile = root.path() + "missing.ini";
    const ProgramRun run = Cli({"list", "caesar3"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "wendmoor-cli: cannot read the settings file " + settingsFile + "\n");
    EXPECT_FALSE(std::filesystem::exists(settingsFile));
}

TEST_F(CliTest, RelativeFolderIsRefusedBeforeAnythingIsTouched) {
    AddPackage(paths.caesar3_missions, "Rome.zip", MapPackage("Rome.map"));
    paths.caesar3_path = "c3/game/";
    settingsFile = root.path() + "relative.ini";
    WriteSettings(settingsFile);
    const std::string before = Snapshot();

    ProgramOptions inRoot;
    inRoot.workingFolder = root.path();
    const ProgramRun run = Cli({"install", "caesar3", "Rome.zip"}, inRoot);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "wendmoor-cli: the folder caesar3_path is not an absolute path: c3/game/\n");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliTest, WithoutSettingsOptionReadsTheProgramsOwnStore) {
    AddPackage(paths.caesar3_missions, "Rome.zip", MapPackage("Rome.map"));
    const std::string config = root.MakeFolder("config");
    const ProgramOptions ownStore{{{"XDG_CONFIG_HOME", config}, {"HOME", config}}, "", ""};
    {
        // Written where the program looks, through the program's own code.
        const ScopedVariable configHome("XDG_CONFIG_HOME", config);
        SaveGamePaths(paths, *OpenDefaultSettingsStore());
    }
    const std::string before = Snapshot();

    const ProgramRun run = CliBare({"list", "caesar3"}, ownStore);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "A Rome.zip\n");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
    AddPackage(paths.caesar3_missions, "Rome.zip", MapPackage("Rome.map"));
    ProgramOptions fullDisk;
    fullDisk.stdoutFile = "/dev/full";
    const ProgramRun run = Cli({"list", "caesar3"}, fullDisk);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "wendmoor-cli: cannot write the output\n");
}

}  // namespace
}  // namespace wendmoor::testing
