#pragma once

#include <chrono>
#include <functional>

namespace wendmoor::bench {

struct Measurement {
    bool ok = false;
    double seconds = 0;   // what the work reported as its timed part
    long peakRssKiB = 0;  // the peak resident memory of the process that did the work
};

// Runs the work in a child process, so that each measurement reports its own peak memory and
// nothing one measurement allocates inflates the next. The work returns the seconds it timed
// itself (setup left out), or a negative value on failure.
Measurement RunInChild(const std::function<double()>& work);

class Stopwatch {
  public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

  private:
    std::chrono::steady_clock::time_point start_;
};

// The fastest of `repeats` runs of the work; the machine is shared, so the minimum is the
// figure least disturbed by other programs.
double FastestOf(int repeats, const std::function<void()>& work);

}  // namespace wendmoor::bench
