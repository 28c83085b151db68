#include "platform/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace wendmoor {

Outcome AppendFile::Create(const std::string& path) {
    Close();
    path_ = path;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (fd_ < 0) return Outcome::SystemError(path, errno);
    open_ = true;
    return {};
}

void AppendFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    open_ = false;
}

Outcome AppendFile::Append(const std::string& bytes, bool durable) {
    if (!open_) return Outcome::Failed(path_, "is not open");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Outcome::SystemError(path_, written < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(written);
    }
    return durable ? Sync() : Outcome();
}

Outcome AppendFile::Sync() {
    if (!open_) return Outcome::Failed(path_, "is not open");
    if (::fsync(fd_) != 0) return Outcome::SystemError(path_, errno);
    return {};
}

}  // namespace wendmoor
