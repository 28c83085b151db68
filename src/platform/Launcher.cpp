#include "platform/Launcher.h"

namespace wendmoor {

namespace {

// Stand-in until the platform launcher lands: reports that nothing could be opened.
class UnavailableLauncher final : public Launcher {
public:
    std::optional<std::string> Open(const std::string&, const std::string&) override {
        return std::string("Opening files is not available.\n");
    }
};

}  // namespace

std::unique_ptr<Launcher> CreateSystemLauncher() { return std::make_unique<UnavailableLauncher>(); }

std::string ComposeShellError(const std::string& reason, const std::string& file,
                              const std::string& directory) {
    return reason + " '" + file + "'  in  '" + directory + "'";
}

}  // namespace wendmoor
