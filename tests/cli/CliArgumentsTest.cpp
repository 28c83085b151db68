#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include "games/Games.h"

namespace wendmoor {
namespace {

using Kind = ParsedCommandLine::Kind;

// Game names in any letter case; package, backup and file names verbatim, even when they look
// like options (only the last word of add can be --install); the flags where they are given.
TEST(CliArgumentsTest, ReadsTheRequestWithGamesInAnyLetterCaseAndNamesVerbatim) {
    using enum CliCommand;
    const struct {
        std::vector<std::string> arguments;
        CliCommand command;
        int game;
        std::string names;       // the package or the backup; the files, each followed by "|"
        std::string flags = "";  // "settings FILE", "force", "install"
    } cases[] = {
        {{"--settings", "my.ini", "deinstall", "Emperor", "R.zip"},
         Deinstall,
         kEmperor,
         "R.zip",
         "settings my.ini"},
        {{"list", "CaEsAr3"}, List, kCaesar3, ""},
        {{"refs", "PHARAO"}, Refs, kPharao, ""},
        {{"show", "emperor", "a b\tc.zip"}, Show, kEmperor, "a b\tc.zip"},
        {{"install", "ZEUS", "--help"}, Install, kZeus, "--help"},
        {{"install", "zeus", ""}, Install, kZeus, ""},
        {{"deinstall", "zeus", "R\xF6ma.zip"}, Deinstall, kZeus, "R\xF6ma.zip"},
        {{"restore", "zeus", "b", "--force"}, Restore, kZeus, "b", "force"},
        {{"backups", "zeus", "--remove", "b"}, RemoveBackup, kZeus, "b"},
        {{"add", "zeus", "-x.zip", "--install", "--install"},
         Add,
         kZeus,
         "-x.zip|--install|",
         "install"},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
        ASSERT_EQ(parsed.kind, Kind::Run) << c.arguments[1];
        const CliRequest& request = parsed.request;
        std::string files;
        for (const std::string& file : request.files) files += file + "|";
        std::string flags = request.settingsFile ? "settings " + *request.settingsFile : "";
        flags +=
            std::string(request.force ? "force" : "") + (request.installAdded ? "install" : "");
        EXPECT_EQ(request.command, c.command) << c.arguments[1];
        EXPECT_EQ(request.game, c.game) << c.arguments[1];
        EXPECT_EQ(request.packageName + request.backupName + files, c.names);
        EXPECT_EQ(flags, c.flags) << c.arguments[1];
    }
    EXPECT_EQ(ParseCommandLine({"-h"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).kind, Kind::Version);
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
