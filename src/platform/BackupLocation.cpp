#include "platform/BackupLocation.h"

#include "platform/Path.h"
#include "platform/ProgramArguments.h"

namespace wendmoor {

namespace {

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder;
}

}  // namespace

std::string DefaultBackupStoreFolder() {
#ifdef _WIN32
    std::string data = WithSeparator(EnvironmentVariable("LOCALAPPDATA"));
    if (!IsAbsolutePath(data)) return {};
#else
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    std::string data = WithSeparator(EnvironmentVariable("XDG_DATA_HOME"));
    if (!IsAbsolutePath(data)) {
        const std::string home = WithSeparator(EnvironmentVariable("HOME"));
        if (!IsAbsolutePath(home)) return {};
        data = home + ".local/share/";
    }
#endif
    return data + "QARN" + kPathSeparator + "backups" + kPathSeparator;
}

}  // namespace wendmoor
