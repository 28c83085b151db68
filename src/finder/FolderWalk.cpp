#include "finder/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace wendmoor {

bool FolderWalk::IsFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FolderWalk::ListOnce(const std::string& folder, Listing& listing) {
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    if (!seen_.emplace(info.st_dev, info.st_ino).second) return false;
    return List(folder, listing);
}

bool FolderWalk::List(const std::string& folder, Listing& listing) {
    listing = {};
    if (listings_ >= maxListings_) {
        stoppedEarly_ = true;
        return false;
    }
    ++listings_;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return false;
    const int dirFd = ::dirfd(dir.get());
    std::size_t entries = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (++entries > kMaxEntries) {
            stoppedEarly_ = true;
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat info;
            if (::fstatat(dirFd, entry->d_name, &info, 0) != 0) continue;
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR) listing.folders.push_back(name);
        if (type == DT_REG) listing.files.push_back(name);
    }
    // Sorted, so what is found and in which order never depends on the file system's order.
    std::sort(listing.folders.begin(), listing.folders.end());
    std::sort(listing.files.begin(), listing.files.end());
    return true;
}

}  // namespace wendmoor
