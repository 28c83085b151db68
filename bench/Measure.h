#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace wendmoor::bench {

// One run of a program in a fresh process (spawned, not forked, so nothing of this process's
// memory is counted in it).
struct ProcessRun {
    bool ok = false;
    double wallSeconds = 0;    // from the spawn to the end of the process, start-up included
    double timedSeconds = -1;  // what the program printed on its first line, if anything
    // The process's peak resident memory: as the program printed it after the seconds, else as
    // wait4 tells (which also holds the memory of this process at the spawn).
    long peakRssKiB = 0;
};

// Runs the program with the arguments, with `environment` added to this process's, and waits
// for it. Standard output's first line is read as a number of seconds.
ProcessRun RunProcess(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {});

// The fastest of `repeats` runs (by wall time), with the largest peak memory among them.
ProcessRun FastestRun(int repeats, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {});

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

// The one-minute load average, as uptime shows it.
double LoadAverage();

// For a measured program: prints the seconds and the peak memory of this program alone (what
// wait4 reports also holds the memory of the process that started it); returns the exit code,
// 1 when the seconds are negative (the result was wrong).
int ReportResult(double seconds);

// This process's peak resident memory.
long OwnPeakRssKiB();

}  // namespace wendmoor::bench
