#include <iostream>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "platform/Collation.h"
#include "platform/ProcessSetup.h"
#include "platform/ProgramArguments.h"
#include "platform/StopRequest.h"

int main(int argc, char** argv) {
    wendmoor::PrepareProcessForFileWrites();
    wendmoor::UseUtf8Console();
    wendmoor::UseUsersCollation();
    // A stop signal during a command ends the process only once the command has said what it
    // did: its files may already be in place.
    const wendmoor::ReportBeforeStop reporting;
    // Package names are UTF-8 on Windows and the file system's bytes elsewhere; they pass
    // through untouched, never decoded.
    const int status =
        wendmoor::RunCommandLine(wendmoor::ProgramArguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    return status;
}
