#include "platform/DiskSpace.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace wendmoor {

std::optional<std::uint64_t> FreeSpaceOf(const std::string& folder) {
    struct statvfs info;
    if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

std::optional<std::uint64_t> FileSystemOf(const std::string& folder) {
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_dev);
}

}  // namespace wendmoor
