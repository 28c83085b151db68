#pragma once

#include <memory>
#include <optional>
#include <string>

namespace wendmoor {

// Why a program could not be started or a document not opened.
struct LaunchFailure {
    // The system's or the starter's reason, as text for the user, ending with a line break.
    std::string reason;
    // The last few lines the starter wrote on its standard error (wine's or the document
    // opener's own message); empty when it wrote none.
    std::string details;
};

// A start that is under way: the program runs, and is watched for a while for a failure that
// shows only after it started (an opener that finds no application, wine that cannot run the
// program). Whoever holds it learns the outcome without waiting for it.
class LaunchWatch {
  public:
    // Stops listening; the program runs on regardless.
    virtual ~LaunchWatch() = default;
    // A descriptor that turns readable (or hangs up) whenever Collect has something to take:
    // for poll() or an event loop's socket notifier.
    virtual int Descriptor() const = 0;
    // Takes what has arrived, never blocking. False while the watch goes on; true once it is
    // over, and Failure() then tells whether the start failed.
    virtual bool Collect() = 0;
    virtual const std::optional<LaunchFailure>& Failure() const = 0;
};

// What an open answers at once: a failure known at once, or a watch that tells later, or
// neither when the start is known to have worked.
struct Launch {
    std::optional<LaunchFailure> failure;
    std::unique_ptr<LaunchWatch> watch;
};

// The shell's "open": starts a program or opens a document with its default application.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // Opens `file` with `directory` as the working folder; a file without a folder is looked
    // for in `directory`. Returns as soon as the start is under way.
    virtual Launch Open(const std::string& file, const std::string& directory) = 0;
};

// The launcher of this platform: the shell on Windows; elsewhere wine for Windows programs and
// the desktop's default application for documents.
std::unique_ptr<Launcher> CreateSystemLauncher();

// Waits until the launch's outcome is known and answers its failure, if any. For tools and
// tests; the window follows the watch on its event loop instead.
std::optional<LaunchFailure> AwaitLaunch(Launch launch);

// The text of the "Error" box: the reason, then the quoted file and, below it, "in" and the
// quoted folder, each on a line of its own:
//   No application could open the document.
//   'qarn_readme.htm'
//   in '/home/ann'
// An empty reason leaves the two lines alone. Any length is kept whole.
std::string ComposeShellError(const std::string& reason, const std::string& file,
                              const std::string& directory);

}  // namespace wendmoor
