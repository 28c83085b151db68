#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include "packages/Games.h"

namespace wendmoor {
namespace {

using Kind = ParsedCommandLine::Kind;

TEST(CliArgumentsTest, ReadsCommandGamePackageAndSettings) {
    ParsedCommandLine parsed =
        ParseCommandLine({"--settings", "my.ini", "deinstall", "Emperor", "Rome.zip"});
    ASSERT_EQ(parsed.kind, Kind::Run);
    EXPECT_EQ(parsed.request.settingsFile, "my.ini");
    EXPECT_EQ(parsed.request.command, CliCommand::Deinstall);
    EXPECT_EQ(parsed.request.game, kEmperor);
    EXPECT_EQ(parsed.request.gameName, "emperor");
    EXPECT_EQ(parsed.request.packageName, "Rome.zip");

    parsed = ParseCommandLine({"restore", "Zeus", "zeus-20240501-142310-a.zip", "--force"});
    ASSERT_EQ(parsed.kind, Kind::Run);
    EXPECT_EQ(parsed.request.command, CliCommand::Restore);
    EXPECT_EQ(parsed.request.backupName, "zeus-20240501-142310-a.zip");
    EXPECT_TRUE(parsed.request.force);

    parsed = ParseCommandLine({"refs", "PHARAO"});
    ASSERT_EQ(parsed.kind, Kind::Run);
    EXPECT_FALSE(parsed.request.settingsFile);
    EXPECT_EQ(parsed.request.command, CliCommand::Refs);
    EXPECT_EQ(parsed.request.game, kPharao);
}

TEST(CliArgumentsTest, PackageIsTakenVerbatimEvenWhenItLooksLikeAnOption) {
    for (const std::string name : {"--help", "-x.zip", "", "a b\tc.zip", "R\xF6ma.zip"}) {
        const ParsedCommandLine parsed = ParseCommandLine({"install", "zeus", name});
        ASSERT_EQ(parsed.kind, Kind::Run) << name;
        EXPECT_EQ(parsed.request.packageName, name);
    }
}

TEST(CliArgumentsTest, AddTakesFilesVerbatimAndInstallOnlyLast) {
    ParsedCommandLine parsed =
        ParseCommandLine({"add", "Zeus", "-x.zip", "--install", "--install"});
    ASSERT_EQ(parsed.kind, Kind::Run);
    EXPECT_EQ(parsed.request.command, CliCommand::Add);
    EXPECT_EQ(parsed.request.game, kZeus);
    EXPECT_EQ(parsed.request.files, std::vector<std::string>({"-x.zip", "--install"}));
    EXPECT_TRUE(parsed.request.installAdded);
    EXPECT_FALSE(ParseCommandLine({"add", "zeus", "a.zip"}).request.installAdded);
}

TEST(CliArgumentsTest, GameNamesAreTheFourKnownOnesInAnyLetterCase) {
    EXPECT_EQ(GameIdFromName("caesar3"), kCaesar3);
    EXPECT_EQ(GameIdFromName("CaEsAr3"), kCaesar3);
    EXPECT_EQ(GameIdFromName("pharao"), kPharao);
    EXPECT_EQ(GameIdFromName("ZEUS"), kZeus);
    EXPECT_EQ(GameIdFromName("emperor"), kEmperor);
    for (const char* unknown : {"", "dek", "pharaoh", "caesar", "zeus ", "1"}) {
        EXPECT_EQ(GameIdFromName(unknown), kNoGame) << unknown;
    }
}

TEST(CliArgumentsTest, HelpAndVersionStandAlone) {
    EXPECT_EQ(ParseCommandLine({"--help"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).kind, Kind::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).kind, Kind::Version);
    EXPECT_EQ(ParseCommandLine({"--help", "list", "zeus"}).kind, Kind::UsageError);
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
        {{"List", "zeus"}, "unknown command: List"},
        {{"list"}, "list needs a game"},
        {{"show", "zeus"}, "show needs a game and a package"},
        {{"list", "zeus", "extra"}, "too many arguments for list"},
        {{"install", "zeus", "a.zip", "b.zip"}, "too many arguments for install"},
        {{"refs", "dek"}, "unknown game: dek"},
        {{"--no-wait", "--settings"}, "--settings needs a file"},
        {{"--wait", "list", "zeus"}, "unknown option: --wait"},
        {{"detect", "zeus"}, "too many arguments for detect"},
        {{"--settings", "a.ini", "detect"}, "detect reads no settings"},
        {{"add", "zeus", "--install"}, "add needs a game and at least one file"},
        {{"add", "doom", "a.zip"}, "unknown game: doom"},
        {{"backups"}, "backups needs a game"},
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
