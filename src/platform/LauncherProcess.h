#pragma once

#ifndef _WIN32

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wendmoor {

// A program to start on its own, beside this process.
struct ProcessRequest {
    std::string program;                 // the executable file
    std::vector<std::string> arguments;  // the argument vector, the program's name first
    std::string workingDirectory;        // empty: this process's current folder
    // Some programs only hand the work on and end at once (a document opener), and some fail
    // only after they started (wine with a broken program). An end with a non-zero status
    // within this time counts as a failed start; after it the program is left to itself.
    std::chrono::milliseconds watchTime{0};
    // The user's text for such an exit status; empty: a general text.
    std::function<std::string(int exitStatus)> explainExit;
};

// Starts a program; nothing on success, otherwise the reason as text for the user, ending
// with a line break.
using ProcessStarter = std::function<std::optional<std::string>(const ProcessRequest&)>;

// Starts the program in a session of its own, so that it outlives this process, is never
// waited for and leaves no zombie behind. Every failure is reported: no process, a working
// folder that cannot be entered, an exec that fails, an early end within the watch time.
std::optional<std::string> StartDetached(const ProcessRequest& request);

// The full path of the first executable file of that name in the folders of PATH; empty
// when there is none.
std::string FindProgramOnPath(const std::string& name);

// The system's text for an errno value, with the line break that closes a system message.
std::string SystemErrorText(int error);

}  // namespace wendmoor

#endif
