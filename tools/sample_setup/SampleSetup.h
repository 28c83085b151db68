#pragma once

#include <string>
#include <vector>

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

// What the command line asks for. Options are options: "--help" (or "-h") asks for the usage,
// any other word that starts with "-" is a mistake, and "--" ends the options, so that a
// folder whose name starts with "-" can still be given.
struct SampleCommand {
    enum class Kind { Build, Help, UsageError };
    Kind kind = Kind::UsageError;
    std::string folder;  // Build: where
    std::string error;   // UsageError: why
};

// `arguments` come without the program's name.
SampleCommand ParseSampleArguments(const std::vector<std::string>& arguments);

inline constexpr const char* kSampleUsage =
    "usage: wendmoor-sample-setup [--] FOLDER\n"
    "       wendmoor-sample-setup --help\n"
    "Builds stand-in folders and sample mission packages for the four games in\n"
    "FOLDER (new, empty or an earlier sample) and a settings file naming them.\n";

}  // namespace wendmoor::sample
