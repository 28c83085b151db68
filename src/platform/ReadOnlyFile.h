#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Outcome.h"

namespace wendmoor {

// What tells one file from another on the same machine: two paths name the same file exactly
// when their identities are equal (device and inode on Linux, volume serial number and file
// index on Windows).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;

    bool operator==(const FileIdentity&) const = default;
};

// One regular file opened for reading its bytes as they are (never in text mode), at any
// offset, from several places at once. Anything else at the path (a folder, a FIFO, a device)
// is refused at once, without waiting for a writer. Closed when destroyed.
class ReadOnlyFile {
  public:
    enum class Failure { None, Missing, NotAFile, Other };

    ReadOnlyFile() = default;
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens the file (closing the one open before); the system's reason when it cannot.
    Outcome Open(const std::string& path);
    void Close();
    bool IsOpen() const { return open_; }
    // Why the last Open() failed, for callers to whom a missing file is no failure.
    Failure LastFailure() const { return failure_; }

    const std::string& Path() const { return path_; }
    // The size when opened; reads stop there.
    std::uint64_t Size() const { return size_; }
    FileIdentity Identity() const { return identity_; }

    // Reads up to `size` bytes from `offset` into the buffer; `got` tells how many, fewer only
    // at the end of the file. The system's reason when a read fails.
    Outcome ReadAt(std::uint64_t offset, void* buffer, std::size_t size, std::size_t& got) const;

  private:
    std::string path_;
    bool open_ = false;
    Failure failure_ = Failure::None;
    std::uint64_t size_ = 0;
    FileIdentity identity_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace wendmoor
