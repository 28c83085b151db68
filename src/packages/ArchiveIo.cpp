#include "packages/ArchiveIo.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zzip/plugin.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace wendmoor {

namespace {

// What one open archive's descriptor reads through: the file's bytes from `start` to its end,
// and the position zziplib believes the descriptor is at.
struct CachedTail {
    std::int64_t fileSize = 0;
    std::int64_t start = 0;
    std::vector<unsigned char> bytes;
    std::int64_t position = 0;
};

// zziplib's io table passes nothing but the descriptor, so the copies are found by it.
std::mutex tailsMutex;
std::unordered_map<int, CachedTail> tails;

zzip_ssize_t ReadCached(int fd, void* buffer, zzip_size_t length) {
    std::unique_lock lock(tailsMutex);
    const auto found = tails.find(fd);
    if (found == tails.end()) {
        lock.unlock();
        return ::read(fd, buffer, length);
    }
    CachedTail& tail = found->second;
    const std::int64_t position = tail.position;
    if (position >= tail.start) {
        const std::int64_t left = std::max<std::int64_t>(tail.fileSize - position, 0);
        const auto count = static_cast<std::size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(length)));
        if (count > 0) {
            std::memcpy(buffer, &tail.bytes[static_cast<std::size_t>(position - tail.start)],
                        count);
        }
        tail.position += static_cast<std::int64_t>(count);
        return static_cast<zzip_ssize_t>(count);
    }
    lock.unlock();
    // The entry data before the directory: read it where zziplib believes it is.
    ssize_t got;
    do {
        got = ::pread(fd, buffer, length, static_cast<off_t>(position));
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        const std::lock_guard relock(tailsMutex);
        const auto again = tails.find(fd);
        if (again != tails.end()) again->second.position = position + got;
    }
    return got;
}

zzip_off_t SeekCached(int fd, zzip_off_t offset, int whence) {
    std::unique_lock lock(tailsMutex);
    const auto found = tails.find(fd);
    if (found == tails.end()) {
        lock.unlock();
        return ::lseek(fd, offset, whence);
    }
    CachedTail& tail = found->second;
    std::int64_t base = 0;
    switch (whence) {
        case SEEK_SET:
            break;
        case SEEK_CUR:
            base = tail.position;
            break;
        case SEEK_END:
            base = tail.fileSize;
            break;
        default:
            errno = EINVAL;
            return -1;
    }
    if (base + offset < 0) {
        errno = EINVAL;
        return -1;
    }
    tail.position = base + offset;
    return tail.position;
}

zzip_off_t FileSizeCached(int fd) {
    {
        const std::lock_guard lock(tailsMutex);
        const auto found = tails.find(fd);
        if (found != tails.end()) return found->second.fileSize;
    }
    struct stat info;
    return ::fstat(fd, &info) == 0 ? info.st_size : -1;
}

int CloseCached(int fd) {
    {
        const std::lock_guard lock(tailsMutex);
        tails.erase(fd);
    }
    return ::close(fd);
}

// The descriptor Archive::Open opened and checked, handed to zziplib through the public
// zzip_dir_open_ext_io: its "open" gives back that descriptor, so no file is opened by name.
thread_local int pendingFd = -1;

int OpenPending(zzip_char_t*, int, ...) {
    const int fd = pendingFd;
    pendingFd = -1;
    if (fd < 0) errno = ENOENT;
    return fd;
}

zzip_plugin_io_handlers MakeHandlers() {
    zzip_plugin_io_handlers handlers{};
    zzip_init_io(&handlers, 0);
    handlers.fd.open = OpenPending;
    handlers.fd.read = ReadCached;
    handlers.fd.seeks = SeekCached;
    handlers.fd.filesize = FileSizeCached;
    handlers.fd.close = CloseCached;
    // Not "sys": zziplib would map the file itself instead of reading through the table.
    handlers.fd.sys = 0;
    return handlers;
}

}  // namespace

ZZIP_DIR* OpenZzipDirectory(int fd, std::int64_t fileSize, std::uint64_t tailOffset,
                            std::vector<unsigned char> bytes, zzip_error_t* error) {
    static zzip_plugin_io_handlers handlers = MakeHandlers();
    CachedTail tail;
    tail.fileSize = fileSize;
    tail.start = static_cast<std::int64_t>(tailOffset);
    tail.bytes = std::move(bytes);
    {
        const std::lock_guard lock(tailsMutex);
        tails[fd] = std::move(tail);
    }
    // No extensions to try: only the descriptor handed over is ever read.
    static zzip_strings_t kNoExtensions[] = {nullptr};
    pendingFd = fd;
    ZZIP_DIR* dir = zzip_dir_open_ext_io("", error, kNoExtensions, &handlers);
    pendingFd = -1;
    if (dir == nullptr) {
        const std::lock_guard lock(tailsMutex);
        tails.erase(fd);
    }
    return dir;
}

}  // namespace wendmoor
