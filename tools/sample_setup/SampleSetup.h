#pragma once

#include <string>

#include "settings/GamePaths.h"

namespace wendmoor::sample {

// The name of the settings file the sample writes into its folder.
inline constexpr const char* kSampleSettingsName = "wendmoor-sample.ini";

struct Sample {
    GamePaths paths;           // the eleven folders, each ending with "/"
    std::string settingsFile;  // the INI file that holds them
};

// Builds, below `folder`, stand-in folders for the four games (each with its sub-folders, its
// save-game folder and a stand-in program file), a missions folder of sample packages per
// game with one package installed, and a settings file naming all of them. A folder that
// already holds a sample is brought up to date and keeps what was installed since; any other
// folder must be empty or new. False, with the reason in `error`, when something cannot be
// made.
bool BuildSample(const std::string& folder, Sample& sample, std::string& error);

}  // namespace wendmoor::sample
