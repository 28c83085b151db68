#include <iostream>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "platform/Collation.h"
#include "platform/ProcessSetup.h"

int main(int argc, char** argv) {
    wendmoor::PrepareProcessForFileWrites();
    wendmoor::UseUsersCollation();
    // Package names are bytes in whatever encoding the file system holds; they pass through
    // untouched, never decoded.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return wendmoor::RunCommandLine(arguments, std::cout, std::cerr);
}
