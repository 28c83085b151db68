#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace wendmoor {

// Work that takes longer than this shows its progress; a shorter one only the wait cursor.
inline constexpr std::chrono::milliseconds kProgressDelay{500};
// A selection that waits this long for another process's command says so in the window.
inline constexpr std::chrono::milliseconds kLockNoticeDelay{700};

// Runs one piece of work (an install, a deinstall, adding packages) on a thread of its own,
// so the window's thread goes on painting and answering. The window polls Finished() from its
// own timer; it never runs a nested loop that could start another action meanwhile. A question
// the work must ask the player (a modal box) is handed to the window's thread and answered at
// its next ServeQuestion().
class BackgroundTask {
  public:
    using Work = std::function<void(BackgroundTask&)>;

    explicit BackgroundTask(Work work);
    // Waits for the work to end.
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    bool Finished() const;

    // From the work: has `question` run on the window's thread and answers what it said.
    bool AskOnWindowThread(std::function<bool()> question);

    // From the window's thread: runs the question the work waits on, if any. True when one ran.
    bool ServeQuestion();

  private:
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    bool finished_ = false;
    std::function<bool()> question_;
    std::optional<bool> answer_;
    std::thread thread_;
};

}  // namespace wendmoor
