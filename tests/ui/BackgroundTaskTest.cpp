#include "ui/BackgroundTask.h"

#include <gtest/gtest.h>

#include <thread>

namespace wendmoor {
namespace {

// A question of the work runs on the thread that serves it, and its answer reaches the work;
// a task ended while its work waits for an answer answers "no" rather than hang.
TEST(BackgroundTaskTest, QuestionsRunOnTheServingThreadAndAnEndedTaskAnswersNo) {
    std::thread::id askedOn;
    bool answer = false;
    {
        BackgroundTask task([&](BackgroundTask& self) {
            answer =
                self.AskOnWindowThread([&] { return askedOn = std::this_thread::get_id(), true; });
        });
        while (!task.Finished()) task.ServeQuestion();
    }
    EXPECT_EQ(askedOn, std::this_thread::get_id());
    EXPECT_TRUE(answer);

    bool asked = false;
    {
        BackgroundTask task([&](BackgroundTask& self) {
            answer = self.AskOnWindowThread([&] { return asked = true; });
        });
    }
    EXPECT_FALSE(asked);
    EXPECT_FALSE(answer);
}

}  // namespace
}  // namespace wendmoor
