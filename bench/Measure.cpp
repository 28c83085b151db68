#include "Measure.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace wendmoor::bench {

Measurement RunInChild(const std::function<double()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) {
        ::close(channel[0]);
        const double seconds = work();
        const ssize_t written = ::write(channel[1], &seconds, sizeof seconds);
        std::fflush(nullptr);
        ::_exit(written == sizeof seconds ? 0 : 1);
    }
    ::close(channel[1]);
    double seconds = -1;
    const bool got = ::read(channel[0], &seconds, sizeof seconds) == sizeof seconds;
    ::close(channel[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    Measurement result;
    result.ok = got && seconds >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.seconds = seconds;
    result.peakRssKiB = usage.ru_maxrss;
    return result;
}

double FastestOf(int repeats, const std::function<void()>& work) {
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < std::max(repeats, 1); ++i) {
        const Stopwatch watch;
        work();
        best = std::min(best, watch.Seconds());
    }
    return best;
}

}  // namespace wendmoor::bench
