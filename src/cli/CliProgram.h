#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace wendmoor {

// The whole tool short of the process: parses the arguments (raw bytes, without the program
// name), reads the settings, runs the command and returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace wendmoor
