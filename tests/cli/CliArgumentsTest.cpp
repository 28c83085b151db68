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

// Each kind of mistake once, one line each; the reasons are the parser's own words.
TEST(CliArgumentsTest, MistakesAreUsageErrorsWithAReason) {
    const std::vector<std::string> mistakes[] = {
        {},
        {"--settings"},
        {"--help", "list", "zeus"},
        {"List", "zeus"},
        {"show", "zeus"},
        {"install", "zeus", "a.zip", "b.zip"},
        {"list", "zeus "},
        {"--settings", "a.ini", "detect"},
        {"add", "zeus", "--install"},
        {"backups", "zeus", "--remove"},
        {"restore", "zeus", "b", "--forced"},
    };
    for (const std::vector<std::string>& arguments : mistakes) {
        const ParsedCommandLine parsed = ParseCommandLine(arguments);
        EXPECT_EQ(parsed.kind, Kind::UsageError) << arguments.size();
        EXPECT_FALSE(parsed.usageError.empty()) << arguments.size();
    }
    EXPECT_EQ(ParseCommandLine({"list", "pharaoh"}).usageError, "unknown game: pharaoh");
}

}  // namespace
}  // namespace wendmoor
