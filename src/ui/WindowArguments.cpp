#include "ui/WindowArguments.h"

namespace wendmoor {

const char* const kWindowUsage =
    "usage: wendmoor [--] [FILE...]\n"
    "       wendmoor --help | --version\n"
    "Opens the Wendmoor window. Each FILE, a mission package (ZIP archive), is added to the\n"
    "missions folder of a game as a dropped file is; the window asks which game.\n"
    "The command-line tool is wendmoor-cli.\n";

WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments) {
    WindowCommandLine parsed;
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        parsed.kind = WindowCommandLine::Kind::Help;
        return parsed;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        parsed.kind = WindowCommandLine::Kind::Version;
        return parsed;
    }
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            parsed.kind = WindowCommandLine::Kind::UsageError;
            parsed.usageError = "unknown option: " + argument;
            return parsed;
        } else {
            parsed.files.push_back(argument);
        }
    }
    return parsed;
}

}  // namespace wendmoor
