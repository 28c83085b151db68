#ifndef _WIN32

#include "platform/LauncherProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace wendmoor {

namespace {

// What the two child processes tell the parent through the pipe. Only the first report counts:
// the one from the stage that failed first.
enum class Stage : int { Fork = 1, WorkingDirectory, Exec, EarlyEnd };

struct Report {
    int stage = 0;
    int value = 0;  // errno, or the wait status of an early end
};

// Everything below runs between fork and exec of a possibly multi-threaded parent, where only
// async-signal-safe calls are allowed: no allocation, no locks, no stdio.

void Send(int reportFd, Stage stage, int value) {
    const Report report{static_cast<int>(stage), value};
    // A write this small to a pipe is atomic. Should it fail, the parent sees a clean end.
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &report, sizeof report);
}

long MillisecondsSince(const timespec& start) {
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000L + (now.tv_nsec - start.tv_nsec) / 1000000L;
}

[[noreturn]] void ExecProgram(const char* program, char* const* argv, const char* directory,
                              int reportFd) {
    // The started program should not inherit what this process blocked or ignored.
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);

    // A game has no business reading the terminal the tool was started from.
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing > 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::close(nothing);
    }
    if (directory != nullptr && ::chdir(directory) != 0) {
        Send(reportFd, Stage::WorkingDirectory, errno);
        ::_exit(127);
    }
    ::execv(program, argv);
    Send(reportFd, Stage::Exec, errno);
    ::_exit(127);
}

// The middle process: leaves the parent's session, starts the program and watches it for a
// while. When it ends, the program is handed to init, so the parent never has to reap it.
[[noreturn]] void StartAndWatch(const char* program, char* const* argv, const char* directory,
                                long watchMilliseconds, int reportFd) {
    ::setsid();
    // Children that the parent lets the system reap could not be watched.
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGCHLD, &byDefault, nullptr);
    const pid_t started = ::fork();
    if (started < 0) {
        Send(reportFd, Stage::Fork, errno);
        ::_exit(1);
    }
    if (started == 0) ExecProgram(program, argv, directory, reportFd);

    timespec start;
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    while (MillisecondsSince(start) < watchMilliseconds) {
        int status = 0;
        const pid_t ended = ::waitpid(started, &status, WNOHANG);
        if (ended == started) {
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                Send(reportFd, Stage::EarlyEnd, status);
            break;
        }
        if (ended < 0 && errno != EINTR) break;
        const timespec pause{0, 10 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    ::_exit(0);
}

std::string DescribeEarlyEnd(const ProcessRequest& request, int status) {
    const std::string name = request.arguments.empty() ? request.program : request.arguments[0];
    if (WIFEXITED(status)) {
        if (request.explainExit) return request.explainExit(WEXITSTATUS(status));
        return name + " ended at once with exit status " + std::to_string(WEXITSTATUS(status)) +
               ".\n";
    }
    const int signal = WTERMSIG(status);
    return name + " ended at once on signal " + std::to_string(signal) + " (" +
           ::strsignal(signal) + ").\n";
}

std::string DescribeReport(const ProcessRequest& request, const Report& report) {
    switch (static_cast<Stage>(report.stage)) {
        case Stage::EarlyEnd:
            return DescribeEarlyEnd(request, report.value);
        case Stage::Fork:
        case Stage::WorkingDirectory:
        case Stage::Exec:
            return SystemErrorText(report.value);
    }
    return SystemErrorText(EIO);
}

// Reads the pipe to its end and keeps the first report, if any came.
std::optional<Report> FirstReport(int reportFd) {
    Report first;
    std::size_t received = 0;
    for (;;) {
        char buffer[64];
        const ssize_t count = ::read(reportFd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        const std::size_t taken =
            std::min(sizeof first - received, static_cast<std::size_t>(count));
        std::memcpy(reinterpret_cast<char*>(&first) + received, buffer, taken);
        received += taken;
    }
    if (received < sizeof first) return std::nullopt;
    return first;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace

std::string SystemErrorText(int error) {
    return std::string(::strerror(error)) + "\n";
}

std::optional<std::string> StartDetached(const ProcessRequest& request) {
    // Built before the fork: the children may not allocate.
    std::vector<std::string> arguments = request.arguments;
    if (arguments.empty()) arguments.push_back(request.program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const char* directory =
        request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return SystemErrorText(errno);

    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return SystemErrorText(error);
    }
    if (middle == 0) {
        ::close(report[0]);
        StartAndWatch(request.program.c_str(), argv.data(), directory, request.watchTime.count(),
                      report[1]);
    }

    // The pipe ends when the program's exec closed its copy and the middle process is gone, so
    // this read returns once the start is decided either way.
    ::close(report[1]);
    const std::optional<Report> failure = FirstReport(report[0]);
    ::close(report[0]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }

    if (!failure) return std::nullopt;
    return DescribeReport(request, *failure);
}

std::string FindProgramOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = std::min(folders.find(':', begin), folders.size());
        // An empty entry stands for the current folder.
        std::string folder = end == begin ? "." : folders.substr(begin, end - begin);
        if (folder.front() != '/') folder = CurrentFolder() + "/" + folder;
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == folders.size()) return {};
        begin = end + 1;
    }
}

}  // namespace wendmoor

#endif
