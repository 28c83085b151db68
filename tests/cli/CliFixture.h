#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "GameTree.h"

namespace wendmoor::testing {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not end by itself
    std::string out;
    std::string err;
    bool operator==(const ProgramRun&) const = default;
};

inline void PrintTo(const ProgramRun& run, std::ostream* os) {
    *os << "exit " << run.exitCode << ", out \"" << run.out << "\", err \"" << run.err << '"';
}

struct ProgramOptions {
    std::vector<std::pair<std::string, std::string>> environment;  // set for the child only
    std::string stdoutFile;  // empty: captured; otherwise the child writes there
};

// Folders for all four games under one temporary folder, with the sub-folders the games
// install into, and a settings file naming them. Runs the built tool against them, with the
// arguments as raw bytes; standard output and error go through files, so neither can fill a
// pipe and stall.
class CliTest : public ::testing::Test {
  protected:
    CliTest();

    // The tool with --settings naming the fixture's settings file.
    ProgramRun Cli(std::vector<std::string> arguments, const ProgramOptions& options = {});
    // The tool with exactly these arguments.
    ProgramRun CliBare(const std::vector<std::string>& arguments,
                       const ProgramOptions& options = {});
    // Starts the tool with the fixture's settings, its output thrown away; Wait gives the
    // status waitpid reports.
    pid_t Start(std::vector<std::string> arguments);
    static int Wait(pid_t child);

    // Writes an archive into a missions folder; returns its path.
    std::string AddPackage(const std::string& missionsFolder, const std::string& name,
                           const ZipWriter& zip);

    TempDir root;
    GamePaths paths;
    std::string settingsFile;
};

std::string Lines(const std::vector<std::string>& lines);

}  // namespace wendmoor::testing
