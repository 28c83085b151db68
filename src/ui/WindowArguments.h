#pragma once

#include <string>
#include <vector>

namespace wendmoor {

// What the wendmoor program was asked for on its command line. Read before the application
// object exists, so --help and --version answer without a display.
struct WindowCommandLine {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::Run;
    // For Run: packages to add, as given (a desktop passes the files opened with the program).
    std::vector<std::string> files;
    std::string usageError;  // for UsageError: what was wrong, one line
};

// The arguments after the program name. "--" ends the options, so a file whose name begins
// with "-" can still be given.
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments);

extern const char* const kWindowUsage;

}  // namespace wendmoor
