#include <iostream>

#include "SampleSetup.h"

// Builds a sample set of game folders and mission packages, so the program can be tried
// without owning the games.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: wendmoor-sample-setup FOLDER\n"
                     "Builds stand-in folders and sample mission packages for the four games in\n"
                     "FOLDER (new, empty or an earlier sample) and a settings file naming them.\n";
        return 2;
    }
    wendmoor::sample::Sample sample;
    std::string error;
    if (!wendmoor::sample::BuildSample(argv[1], sample, error)) {
        std::cerr << "wendmoor-sample-setup: " << error << "\n";
        return 1;
    }
    std::cout << "Sample settings: " << sample.settingsFile << "\n"
              << "Try it with: WENDMOOR_SETTINGS='" << sample.settingsFile << "' wendmoor\n";
    return 0;
}
