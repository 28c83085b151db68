#include "platform/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace wendmoor {

Outcome ReadOnlyFile::Open(const std::string& path) {
    Close();
    path_ = path;
    // O_NONBLOCK keeps a FIFO from stalling the open until a writer comes; it has no effect on
    // the reads of a regular file, so it may stay set.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        failure_ = error == ENOENT ? Failure::Missing : Failure::Other;
        return Outcome::SystemError(path, error);
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        failure_ = Failure::Other;
        return Outcome::SystemError(path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        failure_ = Failure::NotAFile;
        // A folder dropped or named where a package file belongs is said as such.
        return Outcome::Failed(
            path, S_ISDIR(info.st_mode) ? "is a folder, not a file" : "is not a regular file");
    }
    fd_ = fd;
    open_ = true;
    failure_ = Failure::None;
    size_ = static_cast<std::uint64_t>(info.st_size);
    identity_ = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return {};
}

void ReadOnlyFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    open_ = false;
    size_ = 0;
    identity_ = {};
}

Outcome ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                             std::size_t& got) const {
    got = 0;
    if (!open_) return Outcome::SystemError(path_, EBADF);
    // Stopping at the known size saves the read that would only find the end.
    if (offset >= size_) return {};
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset));
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (got < size) {
        const ssize_t read =
            ::pread(fd_, bytes + got, size - got, static_cast<off_t>(offset + got));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return Outcome::SystemError(path_, errno);
        if (read == 0) break;  // the file shrank since it was opened
        got += static_cast<std::size_t>(read);
    }
    return {};
}

}  // namespace wendmoor
