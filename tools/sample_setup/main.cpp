#include <iostream>
#include <string>
#include <vector>

#include "SampleSetup.h"

// Builds a sample set of game folders and mission packages, so the program can be tried
// without owning the games.
int main(int argc, char** argv) {
    using wendmoor::sample::SampleCommand;
    const SampleCommand command =
        wendmoor::sample::ParseSampleArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (command.kind == SampleCommand::Kind::Help) {
        std::cout << wendmoor::sample::kSampleUsage;
        return 0;
    }
    if (command.kind == SampleCommand::Kind::UsageError) {
        std::cerr << "wendmoor-sample-setup: " << command.error << "\n"
                  << wendmoor::sample::kSampleUsage;
        return 2;
    }
    wendmoor::sample::Sample sample;
    std::string error;
    if (!wendmoor::sample::BuildSample(command.folder, sample, error)) {
        std::cerr << "wendmoor-sample-setup: " << error << "\n";
        return 1;
    }
    std::cout << "Sample settings: " << sample.settingsFile << "\n"
              << "Try it with: WENDMOOR_SETTINGS='" << sample.settingsFile << "' wendmoor\n";
    return 0;
}
