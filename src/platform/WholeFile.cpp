#include "platform/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace wendmoor {

WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? WholeFileRead::kMissing : WholeFileRead::kFailed;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            bytes.clear();
            return WholeFileRead::kFailed;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return WholeFileRead::kRead;
}

}  // namespace wendmoor
