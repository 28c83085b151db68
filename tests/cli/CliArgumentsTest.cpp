#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include "packages/Games.h"

namespace wendmoor {
namespace {

using Kind = ParsedCommandLine::Kind;

TEST(CliArgumentsTest, ReadsCommandSettingsAndFlags) {
    const CliRequest request =
        ParseCommandLine({"--settings", "my.ini", "deinstall", "Emperor", "Rome.zip"}).request;
    EXPECT_EQ(request.settingsFile, "my.ini");
    EXPECT_EQ(request.command, CliCommand::Deinstall);
    EXPECT_EQ(request.gameName, "emperor");
    EXPECT_FALSE(ParseCommandLine({"refs", "zeus"}).request.settingsFile);
    EXPECT_EQ(ParseCommandLine({"refs", "zeus"}).request.command, CliCommand::Refs);
    EXPECT_TRUE(ParseCommandLine({"restore", "zeus", "b", "--force"}).request.force);
    EXPECT_FALSE(ParseCommandLine({"restore", "zeus", "b"}).request.force);
    EXPECT_TRUE(ParseCommandLine({"add", "zeus", "a.zip", "--install"}).request.installAdded);
    EXPECT_FALSE(ParseCommandLine({"add", "zeus", "a.zip"}).request.installAdded);
    EXPECT_EQ(ParseCommandLine({"--help"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).kind, Kind::Version);
}

// Game names in any letter case; package, backup and file names verbatim, even when they look
// like options (only the last word of add can be --install).
TEST(CliArgumentsTest, GamesInAnyLetterCaseAndNamesVerbatim) {
    const struct {
        std::vector<std::string> arguments;
        int game;
        std::string names;  // the package or the backup; the files, each followed by "|"
    } cases[] = {
        {{"list", "CaEsAr3"}, kCaesar3, ""},
        {{"refs", "PHARAO"}, kPharao, ""},
        {{"show", "emperor", "a b\tc.zip"}, kEmperor, "a b\tc.zip"},
        {{"install", "ZEUS", "--help"}, kZeus, "--help"},
        {{"install", "zeus", ""}, kZeus, ""},
        {{"deinstall", "zeus", "R\xF6ma.zip"}, kZeus, "R\xF6ma.zip"},
        {{"restore", "zeus", "zeus-20240501-142310-a.zip"}, kZeus, "zeus-20240501-142310-a.zip"},
        {{"backups", "zeus", "--remove", "b"}, kZeus, "b"},
        {{"add", "zeus", "-x.zip", "--install", "--install"}, kZeus, "-x.zip|--install|"},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
        ASSERT_EQ(parsed.kind, Kind::Run) << c.arguments[1];
        std::string files;
        for (const std::string& file : parsed.request.files) files += file + "|";
        EXPECT_EQ(parsed.request.game, c.game) << c.arguments[1];
        EXPECT_EQ(parsed.request.packageName + parsed.request.backupName + files, c.names);
    }
}

TEST(CliArgumentsTest, MistakesAreUsageErrorsWithAReason) {
    struct Mistake {
        std::vector<std::string> arguments;
        std::string reason;
    };
    const Mistake mistakes[] = {
        {{}, "no command given"},
        {{"--settings"}, "--settings needs a file"},
        {{"--settings", "x.ini"}, "no command given"},
        {{"--help", "list", "zeus"}, "unknown option: --help"},
        {{"List", "zeus"}, "unknown command: List"},
        {{"list"}, "list needs a game"},
        {{"show", "zeus"}, "show needs a game and a package"},
        {{"list", "zeus", "extra"}, "too many arguments for list"},
        {{"install", "zeus", "a.zip", "b.zip"}, "too many arguments for install"},
        {{"refs", "dek"}, "unknown game: dek"},
        {{"list", "pharaoh"}, "unknown game: pharaoh"},
        {{"list", "zeus "}, "unknown game: zeus "},
        {{"--no-wait", "--settings"}, "--settings needs a file"},
        {{"--wait", "list", "zeus"}, "unknown option: --wait"},
        {{"detect", "zeus"}, "too many arguments for detect"},
        {{"--settings", "a.ini", "detect"}, "detect reads no settings"},
        {{"add", "zeus", "--install"}, "add needs a game and at least one file"},
        {{"add", "doom", "a.zip"}, "unknown game: doom"},
        {{"backups"}, "backups needs a game"},
        {{"backups", "caesar", "--remove", "b"}, "unknown game: caesar"},
        {{"backups", "zeus", "--remove"}, "backups needs a game, then at most --remove NAME"},
        {{"restore", "zeus"}, "restore needs a game and a backup, then at most --force"},
        {{"restore", "zeus", "b", "--forced"},
         "restore needs a game and a backup, then at most --force"},
    };
    for (const Mistake& mistake : mistakes) {
        const ParsedCommandLine parsed = ParseCommandLine(mistake.arguments);
        EXPECT_EQ(parsed.kind, Kind::UsageError) << mistake.reason;
        EXPECT_EQ(parsed.usageError, mistake.reason);
    }
}

}  // namespace
}  // namespace wendmoor
