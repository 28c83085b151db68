#include "platform/StopRequest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace wendmoor::testing {
namespace {

#ifndef _WIN32  // Windows has console events instead of these signals
// Before the point of no return a signal stops the command; after it the command finishes,
// its front end reports, and only then does the process end, by that signal.
TEST(StopRequestDeathTest, ASignalPastThePointOfNoReturnEndsTheProcessAfterTheReport) {
    EXPECT_EXIT(
        {
            InstallStopHandlers();
            {
                const ReportBeforeStop reporting;
                {
                    const WritingSection section;
                    std::raise(SIGTERM);
                    if (!StopRequested()) std::_Exit(3);
                    PastPointOfNoReturn();
                    if (StopRequested()) std::_Exit(4);
                }
                std::fputs("reported\n", stderr);
            }
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "reported");
}
#endif

}  // namespace
}  // namespace wendmoor::testing
