#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Outcome.h"

namespace wendmoor {

// A command's hold on the folders it reads or writes, against every other Wendmoor process of
// any user: the window, command-line runs from a terminal, cron, ssh or sudo. The reference
// counts are rebuilt by a scan, so a command may act only on a scan that no other process can
// have outdated: it holds the folders exclusively from that scan to its end. A refresh holds
// them shared, so it never sees a half-applied command. Commands on unrelated folders do not
// wait for each other.
//
// The lock lies on the folders themselves, so two spellings of one folder (a link, another
// letter case) are one lock. On Linux it is a flock on a descriptor of each folder; on Windows a
// named mutex per folder, named after its full path with letter case folded (a mutex knows no
// shared mode there, so readers take turns too). The folders are taken in one fixed order, so
// two commands never wait for each other in a circle; the system drops the lock when the
// process ends, however it ends. A folder that does not exist is not locked: nothing of a
// command lies in it.
class PackageLock {
  public:
    enum class Mode { Shared, Exclusive };
    // Asked while another process holds a folder, about every 50 ms, with the time waited so
    // far; false gives up. Empty: wait as long as it takes.
    using KeepWaiting = std::function<bool(std::chrono::milliseconds waited)>;

    PackageLock() = default;
    ~PackageLock();
    PackageLock(const PackageLock&) = delete;
    PackageLock& operator=(const PackageLock&) = delete;

    // Takes every folder of `folders` or none: on failure the outcome names the folder that
    // another command holds (and, where the system tells, which process) or could not be
    // opened. On Windows the lock belongs to the thread that took it and must be released there.
    Outcome Acquire(Mode mode, const std::vector<std::string>& folders,
                    const KeepWaiting& keepWaiting);
    void Release();

  private:
    // Descriptors on Linux, mutex handles on Windows, in the order they were taken.
    std::vector<std::intptr_t> held_;
};

// The reason a lock held by another command is refused with, for tests and front ends to tell it.
inline constexpr const char* kFolderInUse = "another Wendmoor command is running there";

}  // namespace wendmoor
