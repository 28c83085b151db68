#pragma once

#include <memory>
#include <optional>
#include <string>

namespace wendmoor {

// The shell's "open": starts a program or opens a document with its default application.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens `file` with `directory` as the working folder. Nothing on success; otherwise the
    // system's reason for the failure, as text for the user.
    virtual std::optional<std::string> Open(const std::string& file,
                                            const std::string& directory) = 0;
};

// The launcher of this platform.
std::unique_ptr<Launcher> CreateSystemLauncher();

// The text of the "Error" box: the system's reason, then " '<file>'  in  '<directory>'".
std::string ComposeShellError(const std::string& reason, const std::string& file,
                              const std::string& directory);

}  // namespace wendmoor
