#pragma once

#include <memory>
#include <optional>
#include <string>

namespace wendmoor {

// The shell's "open": starts a program or opens a document with its default application.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // Opens `file` with `directory` as the working folder; a file without a folder is looked
    // for in `directory`. Nothing on success; otherwise the system's reason for the failure,
    // as text for the user, ending with a line break.
    virtual std::optional<std::string> Open(const std::string& file,
                                            const std::string& directory) = 0;
};

// The launcher of this platform: the shell on Windows; elsewhere wine for Windows programs and
// the desktop's default application for documents.
std::unique_ptr<Launcher> CreateSystemLauncher();

// The text of the "Error" box: the system's reason, then " '<file>'  in  '<directory>'". The
// reason as a rule ends with a line break, so the names stand on a line of their own; an
// empty reason leaves the names alone, starting with their blank. Any length is kept whole.
std::string ComposeShellError(const std::string& reason, const std::string& file,
                              const std::string& directory);

}  // namespace wendmoor
