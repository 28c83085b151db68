// The backup commands, as a player uses them after an install over an own save.
#include <regex>

#include "CliFixture.h"

namespace wendmoor::testing {
namespace {

std::vector<std::string> SplitLine(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(separator, start)) != std::string::npos;
         start = end + 1) {
        fields.push_back(line.substr(start, end - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

class CliBackupsTest : public CliTest {
  protected:
    ProgramRun Run(const std::vector<std::string>& arguments) {
        return Cli(arguments, {{{"XDG_DATA_HOME", root.path() + "data"}}, {}});
    }
    // The lines of "backups caesar3", each split at its tabs.
    std::vector<std::vector<std::string>> Backups() {
        const ProgramRun run = Run({"backups", "caesar3"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::vector<std::vector<std::string>> lines;
        for (const std::string& line : SplitLine(run.out, '\n')) {
            if (!line.empty()) lines.push_back(SplitLine(line, '\t'));
        }
        return lines;
    }

    const std::string store = root.path() + "data/QARN/backups/";
    const std::string save = paths.caesar3_path + "Rome.sav";
};

TEST_F(CliBackupsTest, KeptFilesAreListedRestoredOnlyWhenSafeOrForcedAndRemoved) {
    root.WriteFile("Caesar3/Rome.sav", "PLAYER");
    AddPackage(paths.caesar3_missions, "Rome.zip",
               ZipWriter().Add("Rome.map", "MAP").Add("Rome.sav", "PACKAGE"));
    ProgramRun run = Run({"install", "caesar3", "Rome.zip"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::vector<std::vector<std::string>> backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    const std::string name = backups[0][0];
    EXPECT_EQ(run.err, "kept " + save + " in " + store + name + "/\n");
    EXPECT_TRUE(std::regex_match(backups[0][1], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << backups[0][1];
    EXPECT_EQ(std::vector<std::string>(backups[0].begin() + 2, backups[0].end()),
              (std::vector<std::string>{"Rome.zip", "install", "1 file", "6 bytes"}));

    // The player played on since: a plain restore changes nothing.
    root.WriteFile("Caesar3/Rome.sav", "PLAYED ON");
    const std::string before = Snapshot();
    run = Run({"restore", "caesar3", name});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(save + ": changed since the backup was made"), std::string::npos)
        << run.err;
    EXPECT_EQ(Snapshot(), before);

    run = Run({"restore", "caesar3", name, "--force"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "restored " + save + "\n");
    EXPECT_EQ(ReadFileBytes(save), "PLAYER");
    backups = Backups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(run.err, "kept " + save + " in " + store + backups[0][0] + "/\n");
    EXPECT_EQ(backups[0][3], "restore");

    ASSERT_EQ(Run({"backups", "caesar3", "--remove", name}).exitCode, 0);
    backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(backups[0][0], name);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"restore", "caesar3", name},
          std::vector<std::string>{"restore", "zeus", backups[0][0]},
          std::vector<std::string>{"backups", "caesar3", "--remove", "../data"}}) {
        run = Run(wrong);
        EXPECT_EQ(run.exitCode, 1) << wrong[2];
        EXPECT_NE(run.err.find("is no backup of"), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace wendmoor::testing
