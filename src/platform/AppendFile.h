#pragma once

#include <string>

#include "platform/Outcome.h"

namespace wendmoor {

// A new file that only grows, such as a backup's manifest: each Append() is on the disk when it
// returns, so a crash leaves every piece appended before it. Closed when destroyed.
class AppendFile {
  public:
    AppendFile() = default;
    ~AppendFile() { Close(); }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Creates the file (closing the one open before); a file of that name already there is a
    // failure, so two writers never share one.
    Outcome Create(const std::string& path);
    void Close();
    bool IsOpen() const { return open_; }

    // Writes all the bytes at the end and makes them durable; the system's reason when not.
    // With `durable` false they are only written, and Sync() makes them durable later: a
    // command that appends thousands of lines waits for the disk once.
    Outcome Append(const std::string& bytes, bool durable = true);
    Outcome Sync();

  private:
    std::string path_;
    bool open_ = false;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace wendmoor
