// The commands on a session whose game is already selected, for what the built tool cannot
// reach from outside: an archive that goes away between the scan and the command.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "TempDir.h"
#include "ZipWriter.h"
#include "cli/CliCommands.h"
#include "packages/Games.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor {
namespace {

using testing::TempDir;
using testing::ZipWriter;

class CliVanishedArchiveTest : public ::testing::Test {
  protected:
    CliVanishedArchiveTest() {
        paths.caesar3_missions = dir.MakeFolder("missions");
        paths.caesar3_path = dir.MakeFolder("game");
        EXPECT_TRUE(
            ZipWriter().Add("Rome.map", "map").WriteTo(paths.caesar3_missions + "Rome.zip"));
        EXPECT_TRUE(session.SelectGame(kCaesar3));
        std::filesystem::remove(paths.caesar3_missions + "Rome.zip");
    }

    int Run(CliCommand command) {
        CliRequest request;
        request.command = command;
        request.game = kCaesar3;
        request.gameName = "caesar3";
        request.packageName = "Rome.zip";
        return RunOnSelectedGame(session, request, out, err);
    }

    TempDir dir;
    GamePaths paths;
    FileSystem fileSystem;
    PackageSession session{paths, fileSystem, nullptr};
    std::ostringstream out, err;
};

TEST_F(CliVanishedArchiveTest, InstallIsRefusedAfterTheScanUnderTheLock) {
    EXPECT_EQ(Run(CliCommand::Install), kExitFailure);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "wendmoor-cli: Rome.zip: is not in Available Missions (any more)\n");
    EXPECT_EQ(testing::ListTree(paths.caesar3_path), "");
}

TEST_F(CliVanishedArchiveTest, ShowFailsInsteadOfPrintingNothing) {
    EXPECT_EQ(Run(CliCommand::Show), kExitFailure);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "wendmoor-cli: Rome.zip can no longer be read\n");
}

}  // namespace
}  // namespace wendmoor
