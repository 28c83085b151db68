#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/Outcome.h"

namespace wendmoor {

// One Wendmoor command at a time, across every process of the user (the window and any number
// of command-line runs). The reference counts are rebuilt by a scan, so a command may act only
// on a scan that no other process can have outdated: it holds the exclusive lock from that
// scan to its end. A refresh holds the shared lock, so it never sees a half-applied command.
//
// The lock is a file lock on a file in $XDG_RUNTIME_DIR, or in the temporary folder when that
// is not set; on Windows a byte-range lock on a file in %LOCALAPPDATA%. The system drops it
// when the process ends, however it ends.
class PackageLock {
  public:
    enum class Mode { Shared, Exclusive };
    // Asked while another process holds the lock, about every 50 ms, with the time waited so
    // far; false gives up. Empty: wait as long as it takes.
    using KeepWaiting = std::function<bool(std::chrono::milliseconds waited)>;

    PackageLock() = default;
    ~PackageLock();
    PackageLock(const PackageLock&) = delete;
    PackageLock& operator=(const PackageLock&) = delete;

    Outcome Acquire(Mode mode, const KeepWaiting& keepWaiting);
    void Release();
    bool Held() const { return fd_ >= 0; }

    // The lock file of this user.
    static std::string LockFilePath();

  private:
    int fd_ = -1;
};

}  // namespace wendmoor
