#include "Measure.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

extern char** environ;

namespace wendmoor::bench {

ProcessRun RunProcess(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    ProcessRun run;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** variable = environ; *variable != nullptr; ++variable) envp.push_back(*variable);
    for (const std::string& variable : environment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    int channel[2];
    if (::pipe(channel) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    std::fflush(nullptr);
    pid_t child = 0;
    const Stopwatch watch;
    const int spawned =
        ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(channel[1]);
    std::string output;
    char buffer[256];
    for (ssize_t got; spawned == 0 && (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    if (spawned != 0) return run;
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    run.wallSeconds = watch.Seconds();
    run.peakRssKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!output.empty()) {
        char* rest = nullptr;
        run.timedSeconds = std::strtod(output.c_str(), &rest);
        // Our own measurements print their peak memory after the seconds (see Children.cpp).
        const long peak = std::strtol(rest, nullptr, 10);
        if (peak > 0) run.peakRssKiB = peak;
    }
    return run;
}

ProcessRun FastestRun(int repeats, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    ProcessRun best;
    best.wallSeconds = std::numeric_limits<double>::infinity();
    long peak = 0;
    for (int i = 0; i < std::max(repeats, 1); ++i) {
        const ProcessRun run = RunProcess(arguments, environment);
        if (!run.ok) return run;
        peak = std::max(peak, run.peakRssKiB);
        if (run.wallSeconds < best.wallSeconds) best = run;
    }
    best.peakRssKiB = peak;
    return best;
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

double LoadAverage() {
    double load[1] = {-1};
    return ::getloadavg(load, 1) == 1 ? load[0] : -1;
}

long OwnPeakRssKiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace wendmoor::bench

namespace wendmoor::bench {

int ReportResult(double seconds) {
    long peakKiB = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::sscanf(line, "VmHWM: %ld kB", &peakKiB) == 1) break;
        }
        std::fclose(status);
    }
    std::printf("%.9f %ld\n", seconds, peakKiB);
    return seconds >= 0 ? 0 : 1;
}

}  // namespace wendmoor::bench
