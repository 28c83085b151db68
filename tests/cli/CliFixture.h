#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunProgram.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "settings/GamePaths.h"

namespace wendmoor::testing {

// Folders for all four games under one temporary folder, with the sub-folders the games
// install into, and a settings file naming them. Runs the built tool against them.
class CliTest : public ::testing::Test {
  protected:
    CliTest();

    // The tool with --settings naming the fixture's settings file.
    ProgramRun Cli(std::vector<std::string> arguments, const ProgramOptions& options = {});
    // The tool with exactly these arguments.
    ProgramRun CliBare(const std::vector<std::string>& arguments,
                       const ProgramOptions& options = {});

    // Writes an archive into a missions folder; returns its path.
    std::string AddPackage(const std::string& missionsFolder, const std::string& name,
                           const ZipWriter& zip);
    // Every folder and file below the fixture's root, with the files' bytes.
    std::string Snapshot() const;

    TempDir root;
    GamePaths paths;
    std::string settingsFile;
};

std::string Lines(const std::vector<std::string>& lines);

}  // namespace wendmoor::testing
