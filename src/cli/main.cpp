#include <iostream>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "platform/Collation.h"
#include "platform/ProcessSetup.h"
#include "platform/ProgramArguments.h"

int main(int argc, char** argv) {
    wendmoor::PrepareProcessForFileWrites();
    wendmoor::UseUtf8Console();
    wendmoor::UseUsersCollation();
    // Package names are UTF-8 on Windows and the file system's bytes elsewhere; they pass
    // through untouched, never decoded.
    return wendmoor::RunCommandLine(wendmoor::ProgramArguments(argc, argv), std::cout, std::cerr);
}
