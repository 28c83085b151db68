#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wendmoor::testing {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not end by itself
    std::string out;
    std::string err;
};

struct ProgramOptions {
    std::vector<std::pair<std::string, std::string>> environment;  // set for the child only
    std::string stdoutFile;  // empty: captured; otherwise the child writes there
};

// Runs the program with the arguments (raw bytes) and waits for it. Standard output and error
// go through files in a private temporary folder, so neither can fill a pipe and stall.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramOptions& options = {});

}  // namespace wendmoor::testing
