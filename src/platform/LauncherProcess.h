#pragma once

#ifndef _WIN32

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/Launcher.h"

namespace wendmoor {

// A watch time that lasts for as long as the started program runs.
inline constexpr std::chrono::milliseconds kWatchToTheEnd = std::chrono::milliseconds::max();

// A program to start on its own, beside this process.
struct ProcessRequest {
    std::string program;                 // the executable file
    std::vector<std::string> arguments;  // the argument vector, the program's name first
    std::string workingDirectory;        // empty: this process's current folder
    // Some programs fail only after they started: a document opener that finds no
    // application, wine with a program it cannot run. An end with a non-zero status within
    // this time counts as a failed start; after it the program is left to itself.
    std::chrono::milliseconds watchTime{0};
    // The user's text for such an exit status; empty: a general text.
    std::function<std::string(int exitStatus)> explainExit;
};

// Starts a program; a failure known at once, or a watch that tells the rest (Launcher.h).
using ProcessStarter = std::function<Launch(const ProcessRequest&)>;

// Starts the program in a session of its own, so that it outlives this process, is never
// waited for and leaves no zombie behind, and returns at once. A small watcher process of its
// own follows the program for the watch time and reports through the returned watch every
// failure: no process, a working folder that cannot be entered, an exec that fails, an end
// with a failure status within the watch time. The program's standard error goes to this
// process's standard error as before, through the watcher, which keeps its last lines for
// the report. The program inherits no descriptor of this process but the standard three.
Launch StartDetached(const ProcessRequest& request);

// The full path of the first executable file of that name in the folders of PATH; empty
// when there is none.
std::string FindProgramOnPath(const std::string& name);

// The system's text for an errno value, with the line break that closes a system message.
std::string SystemErrorText(int error);

}  // namespace wendmoor

#endif
