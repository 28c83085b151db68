#include "platform/PackageLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace wendmoor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

struct OpenFolder {
    std::string path;
    int fd;
    dev_t device;
    ino_t inode;
};

// "process 1234, wendmoor-cli" for the process holding a flock on the folder, from the
// system's table of locks; empty when it cannot be told.
std::string HolderOf(const OpenFolder& folder) {
    char identity[64];
    std::snprintf(identity, sizeof identity, "%02x:%02x:%llu", major(folder.device),
                  minor(folder.device), static_cast<unsigned long long>(folder.inode));
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; waiters carry a "->".
        std::istringstream fields(line);
        std::string number, kind, advisory, access, pid, id;
        fields >> number >> kind;
        if (kind != "FLOCK") continue;
        fields >> advisory >> access >> pid >> id;
        if (id != identity) continue;
        std::string name;
        std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
        return "process " + pid + (name.empty() ? "" : ", " + name);
    }
    return {};
}

Outcome InUse(const OpenFolder& folder) {
    const std::string holder = HolderOf(folder);
    return Outcome::Failed(folder.path,
                           std::string(kFolderInUse) + (holder.empty() ? "" : " (" + holder + ")"));
}

}  // namespace

PackageLock::~PackageLock() {
    Release();
}

void PackageLock::Release() {
    for (const std::intptr_t fd : held_) ::close(static_cast<int>(fd));  // drops its lock
    held_.clear();
}

Outcome PackageLock::Acquire(Mode mode, const std::vector<std::string>& folders,
                             const KeepWaiting& keepWaiting) {
    Release();
    std::vector<OpenFolder> open;
    const auto closeAll = [&open] {
        for (const OpenFolder& folder : open) ::close(folder.fd);
    };
    for (const std::string& path : folders) {
        if (path.empty()) continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) continue;
        struct stat info;
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            const int error = errno;
            if (fd >= 0) ::close(fd);
            closeAll();
            return Outcome::SystemError(path, error);
        }
        open.push_back({path, fd, info.st_dev, info.st_ino});
    }
    // One order for every process, and a folder named twice (a link, another spelling) once.
    std::sort(open.begin(), open.end(), [](const OpenFolder& a, const OpenFolder& b) {
        return a.device != b.device ? a.device < b.device : a.inode < b.inode;
    });
    for (std::size_t at = 1; at < open.size();) {
        if (open[at].device == open[at - 1].device && open[at].inode == open[at - 1].inode) {
            ::close(open[at].fd);
            open.erase(open.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            ++at;
        }
    }

    const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t taken = 0; taken < open.size();) {
        const OpenFolder& folder = open[taken];
        if (::flock(folder.fd, keepWaiting ? operation | LOCK_NB : operation) == 0) {
            ++taken;
            continue;
        }
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK) {
            closeAll();
            return Outcome::SystemError(folder.path, error);
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (!keepWaiting(waited)) {
            Outcome refused = InUse(folder);
            closeAll();
            return refused;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    for (const OpenFolder& folder : open) held_.push_back(folder.fd);
    return {};
}

}  // namespace wendmoor
