#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace wendmoor {

// How far an install or deinstall has come, and whether the user asked it to stop. The command
// writes it from whatever thread runs it; a window reads it from its own thread, so every field
// is safe to read while the command runs.
class CommandProgress {
  public:
    void Cancel() { cancelRequested_ = true; }
    bool CancelRequested() const { return cancelRequested_; }

    void Begin(int files, std::uint64_t bytes) {
        filesTotal_ = files;
        bytesTotal_ = bytes;
    }
    void StartFile(const std::string& name) {
        const std::lock_guard lock(mutex_);
        currentFile_ = name;
    }
    void AddBytes(std::uint64_t bytes) { bytesDone_ += bytes; }
    void FinishFile() { ++filesDone_; }
    // After the files are written, an install keeps the player's files it would replace: the
    // counts start again for these, and CurrentFile() names the one being kept.
    void StartBackingUp(int files) {
        filesDone_ = 0;
        filesTotal_ = files;
        backingUp_ = true;
    }
    bool BackingUp() const { return backingUp_; }

    int FilesDone() const { return filesDone_; }
    int FilesTotal() const { return filesTotal_; }
    std::uint64_t BytesDone() const { return bytesDone_; }
    std::uint64_t BytesTotal() const { return bytesTotal_; }
    std::string CurrentFile() const {
        const std::lock_guard lock(mutex_);
        return currentFile_;
    }

  private:
    std::atomic<bool> cancelRequested_{false};
    std::atomic<bool> backingUp_{false};
    std::atomic<int> filesDone_{0};
    std::atomic<int> filesTotal_{0};
    std::atomic<std::uint64_t> bytesDone_{0};
    std::atomic<std::uint64_t> bytesTotal_{0};
    mutable std::mutex mutex_;
    std::string currentFile_;
};

}  // namespace wendmoor
