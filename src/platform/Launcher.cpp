#include "platform/Launcher.h"

#ifndef _WIN32
#include <poll.h>

#include <cerrno>
#endif

namespace wendmoor {

std::optional<LaunchFailure> AwaitLaunch(Launch launch) {
    if (launch.failure || !launch.watch) return launch.failure;
#ifndef _WIN32
    while (!launch.watch->Collect()) {
        pollfd ready{launch.watch->Descriptor(), POLLIN, 0};
        if (::poll(&ready, 1, -1) < 0 && errno != EINTR) break;
    }
#endif
    return launch.watch->Failure();
}

std::string ComposeShellError(const std::string& reason, const std::string& file,
                              const std::string& directory) {
    std::string text = reason;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (!text.empty()) text += '\n';
    return text + "'" + file + "'\nin '" + directory + "'";
}

}  // namespace wendmoor
