#include "ui/BackgroundTask.h"

namespace wendmoor {

BackgroundTask::BackgroundTask(Work work)
    : thread_([this, work = std::move(work)] {
          work(*this);
          const std::lock_guard lock(mutex_);
          finished_ = true;
      }) {}

BackgroundTask::~BackgroundTask() {
    // A question still waiting would keep the work from ending: it is answered "no".
    while (!Finished()) {
        {
            std::unique_lock lock(mutex_);
            if (question_) {
                question_ = nullptr;
                answer_ = false;
                answered_.notify_all();
            }
        }
        std::this_thread::yield();
    }
    thread_.join();
}

bool BackgroundTask::Finished() const {
    const std::lock_guard lock(mutex_);
    return finished_;
}

bool BackgroundTask::AskOnWindowThread(std::function<bool()> question) {
    std::unique_lock lock(mutex_);
    question_ = std::move(question);
    answer_.reset();
    answered_.wait(lock, [this] { return answer_.has_value(); });
    return *answer_;
}

bool BackgroundTask::ServeQuestion() {
    std::function<bool()> question;
    {
        const std::lock_guard lock(mutex_);
        if (!question_) return false;
        question = std::move(question_);
        question_ = nullptr;
    }
    const bool answer = question();
    const std::lock_guard lock(mutex_);
    answer_ = answer;
    answered_.notify_all();
    return true;
}

}  // namespace wendmoor
