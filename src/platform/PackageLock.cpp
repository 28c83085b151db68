#include "platform/PackageLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

namespace wendmoor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

std::string FolderFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') return {};
    struct stat info;
    if (::stat(value, &info) != 0 || !S_ISDIR(info.st_mode)) return {};
    return value;
}

}  // namespace

std::string PackageLock::LockFilePath() {
    // The runtime folder belongs to the user alone; the temporary folder is shared, so the name
    // there carries the user id.
    if (std::string runtime = FolderFromEnvironment("XDG_RUNTIME_DIR"); !runtime.empty()) {
        return runtime + "/wendmoor.lock";
    }
    std::string temporary = FolderFromEnvironment("TMPDIR");
    if (temporary.empty()) temporary = "/tmp";
    return temporary + "/wendmoor-" + std::to_string(::getuid()) + ".lock";
}

PackageLock::~PackageLock() {
    Release();
}

void PackageLock::Release() {
    if (fd_ < 0) return;
    ::close(fd_);  // drops the lock
    fd_ = -1;
}

Outcome PackageLock::Acquire(Mode mode, const KeepWaiting& keepWaiting) {
    Release();
    const std::string path = LockFilePath();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Outcome::SystemError("the lock file " + path, errno);
    const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;

    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const int flags = keepWaiting ? operation | LOCK_NB : operation;
        if (::flock(fd, flags) == 0) {
            fd_ = fd;
            return {};
        }
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK) {
            ::close(fd);
            return Outcome::SystemError("the lock file " + path, error);
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (!keepWaiting(waited)) {
            ::close(fd);
            return Outcome::Failed("the game folders",
                                   "another Wendmoor command is running (lock " + path + ")");
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace wendmoor
