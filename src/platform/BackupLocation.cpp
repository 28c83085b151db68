#include "platform/BackupLocation.h"

#include <cstdlib>

#include "platform/Path.h"

namespace wendmoor {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder;
}

}  // namespace

std::string DefaultBackupStoreFolder() {
#ifdef _WIN32
    std::string data = WithSeparator(Variable("LOCALAPPDATA"));
    if (data.empty()) return {};
#else
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    std::string data = WithSeparator(Variable("XDG_DATA_HOME"));
    if (data.empty() || data.front() != '/') {
        const std::string home = WithSeparator(Variable("HOME"));
        if (home.empty() || home.front() != '/') return {};
        data = home + ".local/share/";
    }
#endif
    return data + "QARN" + kPathSeparator + "backups" + kPathSeparator;
}

}  // namespace wendmoor
