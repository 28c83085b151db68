// The backup commands as a player uses them after an install over an own save: the lines
// printed, the exit codes and the names refused. What a restore may replace and what it keeps
// is the store's (tests/packages/BackupStoreTest.cpp).
#include <regex>

#include "CliFixture.h"

namespace wendmoor::testing {

TEST_F(CliTest, BackupsAreListedRestoredAndRemoved) {
    const ProgramOptions data{{{"XDG_DATA_HOME", root.path() + "data"}}, {}};
    const std::string store = root.path() + "data/QARN/backups/";
    const std::string save = root.WriteFile("Caesar3/Rome.sav", "PLAYER");
    AddPackage(paths.caesar3_missions, "Rome.zip",
               ZipWriter().Add("Rome.map", "MAP").Add("Rome.sav", "PACKAGE"));
    const ProgramRun installed = Cli({"install", "caesar3", "Rome.zip"}, data);
    ASSERT_EQ(installed.exitCode, 0) << installed.err;

    const ProgramRun listed = Cli({"backups", "caesar3"}, data);
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    std::smatch line;
    ASSERT_TRUE(std::regex_match(listed.out, line,
                                 std::regex("([^\t]+)\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t"
                                            "Rome.zip\tinstall\t1 file\t6 bytes\n")))
        << listed.out;
    const std::string name = line[1];
    EXPECT_EQ(installed.err, "kept " + save + " in " + store + name + "/\n");
    EXPECT_EQ(Cli({"restore", "caesar3", name}, data),
              (ProgramRun{0, "restored " + save + "\n", ""}));
    EXPECT_EQ(ReadFileBytes(save), "PLAYER");

    // Another game's backup and a path are no backups of the game, nor is a removed one.
    const auto refused = [&](const std::vector<std::string>& arguments) {
        const ProgramRun refusal = Cli(arguments, data);
        EXPECT_EQ(refusal.exitCode, 1) << arguments[1];
        EXPECT_NE(refusal.err.find("is no backup of"), std::string::npos) << refusal.err;
    };
    refused({"restore", "zeus", name});
    refused({"backups", "caesar3", "--remove", "../data"});
    ASSERT_EQ(Cli({"backups", "caesar3", "--remove", name}, data), (ProgramRun{0, "", ""}));
    refused({"restore", "caesar3", name});
}

}  // namespace wendmoor::testing
