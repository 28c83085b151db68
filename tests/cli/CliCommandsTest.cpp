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

TEST_F(CliTest, InstallThatLeavesThePackageAvailableFails) {
    std::filesystem::remove(paths.pharao_path + "Maps");
    AddPackage(paths.pharao_missions, "Delta.zip", MapPackage("Delta.map"));

    const ProgramRun run = Cli({"install", "pharao", "Delta.zip"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "A Delta.zip\n");
    EXPECT_EQ(run.err,
              "wendmoor-cli: " + paths.pharao_path + "Maps/Delta.map: No such file or directory\n");
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

TEST_F(CliTest, WithoutSettingsOptionReadsTheProgramsOwnStore) {
    AddPackage(paths.caesar3_missions, "Rome.zip", MapPackage("Rome.map"));
    const std::string config = root.MakeFolder("config");
    const ProgramOptions ownStore{{{"XDG_CONFIG_HOME", config}, {"HOME", config}}, ""};
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
