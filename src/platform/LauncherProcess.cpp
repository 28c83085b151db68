#ifndef _WIN32

#include "platform/LauncherProcess.h"

#include "platform/Path.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// How a start failed, as the watcher tells the parent: a Report, then, for an early end, the
// tail of what the program wrote on its standard error. A clean end of the pipe without a
// report means the start worked.
enum class Stage : int { Setup = 1, Fork, WorkingDirectory, Exec, EarlyEnd };

struct Report {
    int stage = 0;
    int value = 0;  // errno, or the wait status of an early end
};

// How much of the program's standard error the watcher keeps, and how many of its last lines
// the report shows.
constexpr std::size_t kCapturedBytes = 4096;
constexpr std::size_t kDetailLines = 6;

// Everything from here to the end of the namespace runs in the children of a possibly
// multi-threaded parent, between fork and exec or in the watcher that never execs, where only
// async-signal-safe calls are allowed: no allocation, no locks, no stdio.

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;  // nobody listens any more: nothing to be done
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void Send(int reportFd, Stage stage, int value) {
    const Report report{static_cast<int>(stage), value};
    WriteAll(reportFd, reinterpret_cast<const char*>(&report), sizeof report);
}

long MillisecondsSince(const timespec& start) {
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000L + (now.tv_nsec - start.tv_nsec) / 1000000L;
}

void CloseRange(int first, int last) {
    if (first > last) return;
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, static_cast<unsigned>(first), static_cast<unsigned>(last), 0) ==
        0)
        return;
#endif
    rlimit limit;
    const int end = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                        ? static_cast<int>(std::min<rlim_t>(limit.rlim_cur, INT_MAX))
                        : 65536;
    for (int fd = first; fd <= last && fd < end; ++fd) ::close(fd);
}

// Leaves the watcher with the standard three descriptors (on /dev/null where this process had
// none) and the report pipe, and answers where that now is. Whatever else the parent had open
// (files, sockets, a lock) must not live on in a process that may outlast it.
int KeepOnlyTheReport(int reportFd) {
    const int kept = ::fcntl(reportFd, F_DUPFD_CLOEXEC, 3);
    if (kept < 0) return -1;
    if (reportFd < 3) ::close(reportFd);
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0) {
            const int nothing = ::open("/dev/null", O_RDWR);
            if (nothing >= 0 && nothing != fd) {
                ::dup2(nothing, fd);
                ::close(nothing);
            }
        }
    }
    CloseRange(3, kept - 1);
    CloseRange(kept + 1, INT_MAX);
    return kept;
}

// The last kCapturedBytes the program wrote on its standard error.
class Tail {
  public:
    void Append(const char* data, std::size_t size) {
        if (size >= kCapturedBytes) {
            std::memcpy(bytes_, data + size - kCapturedBytes, kCapturedBytes);
            size_ = kCapturedBytes;
            return;
        }
        if (size_ + size > kCapturedBytes) {
            const std::size_t dropped = size_ + size - kCapturedBytes;
            std::memmove(bytes_, bytes_ + dropped, size_ - dropped);
            size_ -= dropped;
        }
        std::memcpy(bytes_ + size_, data, size);
        size_ += size;
    }
    const char* data() const { return bytes_; }
    std::size_t size() const { return size_; }

  private:
    char bytes_[kCapturedBytes];
    std::size_t size_ = 0;
};

enum class Flow { Data, Empty, Closed };

// Hands what the program wrote on its standard error on to ours, keeping its tail.
Flow Relay(int fd, Tail* tail) {
    char buffer[4096];
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count > 0) {
        WriteAll(STDERR_FILENO, buffer, static_cast<std::size_t>(count));
        if (tail != nullptr) tail->Append(buffer, static_cast<std::size_t>(count));
        return Flow::Data;
    }
    if (count < 0 && errno == EINTR) return Flow::Data;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Flow::Empty;
    return Flow::Closed;
}

// The watcher's SIGCHLD handler wakes its poll through this pipe.
int wakeFd = -1;

void OnChildEnded(int) {
    const int saved = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd, &byte, 1);
    errno = saved;
}

[[noreturn]] void ExecProgram(const char* program, char* const* argv, const char* directory,
                              int reportFd, int errorFd) {
    // The started program should not inherit what this process blocked or ignored.
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);
    ::sigaction(SIGCHLD, &byDefault, nullptr);

    // A game has no business reading the terminal the tool was started from.
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing > 0) {
        ::dup2(nothing, STDIN_FILENO);
        ::close(nothing);
    }
    ::dup2(errorFd, STDERR_FILENO);
    if (directory != nullptr && ::chdir(directory) != 0) {
        Send(reportFd, Stage::WorkingDirectory, errno);
        ::_exit(127);
    }
    ::execv(program, argv);
    Send(reportFd, Stage::Exec, errno);
    ::_exit(127);
}

// Reads the first report of a pipe to its end; false when none came.
bool ReadReport(int fd, Report& report) {
    std::size_t received = 0;
    for (;;) {
        char buffer[64];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        const std::size_t taken =
            std::min(sizeof report - received, static_cast<std::size_t>(count));
        std::memcpy(reinterpret_cast<char*>(&report) + received, buffer, taken);
        received += taken;
    }
    return received == sizeof report;
}

// The watcher: leaves the parent's session, starts the program and follows it for the watch
// time (watchMilliseconds < 0: until it ends), relaying its standard error. A failure goes to
// the report pipe; the pipe then closes, which tells the parent the start is decided. The
// watcher relays on until nobody writes to that standard error any more.
[[noreturn]] void StartAndWatch(const char* program, char* const* argv, const char* directory,
                                long watchMilliseconds, int reportFd) {
    ::setsid();
    reportFd = KeepOnlyTheReport(reportFd);
    if (reportFd < 0) ::_exit(1);

    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, nullptr);  // the parent may have stopped listening

    int wake[2], execReport[2], errors[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0 || ::pipe2(execReport, O_CLOEXEC) != 0 ||
        ::pipe2(errors, O_CLOEXEC) != 0) {
        Send(reportFd, Stage::Setup, errno);
        ::_exit(1);
    }
    wakeFd = wake[1];
    struct sigaction onChild = {};
    onChild.sa_handler = OnChildEnded;
    onChild.sa_flags = SA_NOCLDSTOP | SA_RESTART;
    ::sigaction(SIGCHLD, &onChild, nullptr);

    const pid_t started = ::fork();
    if (started < 0) {
        Send(reportFd, Stage::Fork, errno);
        ::_exit(1);
    }
    if (started == 0) ExecProgram(program, argv, directory, execReport[1], errors[1]);
    ::close(execReport[1]);
    ::close(errors[1]);

    // The exec report pipe ends at the exec, or carries why there was none.
    Report failure;
    if (ReadReport(execReport[0], failure)) {
        WriteAll(reportFd, reinterpret_cast<const char*>(&failure), sizeof failure);
        ::_exit(0);
    }
    ::close(execReport[0]);

    Tail tail;
    bool errorsOpen = true;
    bool ended = false;
    int status = 0;
    timespec start;
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        const pid_t gone = ::waitpid(started, &status, WNOHANG);
        if (gone == started) {
            ended = true;
            break;
        }
        if (gone < 0 && errno != EINTR) break;
        int timeout = -1;
        if (watchMilliseconds >= 0) {
            const long left = watchMilliseconds - MillisecondsSince(start);
            if (left <= 0) break;
            timeout = static_cast<int>(std::min<long>(left, INT_MAX));
        }
        pollfd ready[2] = {{wake[0], POLLIN, 0}, {errorsOpen ? errors[0] : -1, POLLIN, 0}};
        ::poll(ready, 2, timeout);
        char drained[64];
        while (::read(wake[0], drained, sizeof drained) > 0) {
        }
        if (errorsOpen && ready[1].revents != 0) {
            errorsOpen = Relay(errors[0], &tail) != Flow::Closed;
        }
    }

    if (ended && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
        // What the program wrote before it ended lies in the pipe already.
        ::fcntl(errors[0], F_SETFL, O_NONBLOCK);
        while (errorsOpen) {
            const Flow flow = Relay(errors[0], &tail);
            if (flow == Flow::Closed) errorsOpen = false;
            if (flow != Flow::Data) break;
        }
        Send(reportFd, Stage::EarlyEnd, status);
        WriteAll(reportFd, tail.data(), tail.size());
    }
    ::close(reportFd);

    // Whatever the program or its own children still write goes on to our standard error.
    ::fcntl(errors[0], F_SETFL, 0);
    while (errorsOpen) errorsOpen = Relay(errors[0], nullptr) != Flow::Closed;
    ::_exit(0);
}

// What the parent keeps of a start.

std::string LastLines(std::string text, std::size_t count) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::size_t lineBreak = text.size();
    for (std::size_t line = 0; line < count; ++line) {
        lineBreak = lineBreak == 0 ? std::string::npos : text.rfind('\n', lineBreak - 1);
        if (lineBreak == std::string::npos) return text;
    }
    return text.substr(lineBreak + 1);
}

std::string DescribeEarlyEnd(const ProcessRequest& request, int status) {
    const std::string name = request.arguments.empty() ? request.program : request.arguments[0];
    if (WIFEXITED(status)) {
        if (request.explainExit) return request.explainExit(WEXITSTATUS(status));
        return name + " ended with exit status " + std::to_string(WEXITSTATUS(status)) + ".\n";
    }
    const int signal = WTERMSIG(status);
    return name + " ended on signal " + std::to_string(signal) + " (" + ::strsignal(signal) +
           ").\n";
}

// Follows the watcher's report pipe without blocking.
class ProcessWatch final : public LaunchWatch {
  public:
    ProcessWatch(int fd, ProcessRequest request) : fd_(fd), request_(std::move(request)) {}
    ~ProcessWatch() override {
        if (fd_ >= 0) ::close(fd_);
    }
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;

    int Descriptor() const override { return fd_; }

    bool Collect() override {
        if (fd_ < 0) return true;
        for (;;) {
            char buffer[4096];
            const ssize_t count = ::read(fd_, buffer, sizeof buffer);
            if (count > 0) {
                received_.append(buffer, static_cast<std::size_t>(count));
                continue;
            }
            if (count < 0 && errno == EINTR) continue;
            if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
            break;  // the end of the pipe: the start is decided
        }
        ::close(fd_);
        fd_ = -1;
        Decide();
        return true;
    }

    const std::optional<LaunchFailure>& Failure() const override { return failure_; }

  private:
    void Decide() {
        Report report;
        if (received_.size() < sizeof report) return;  // no report: the start worked
        std::memcpy(&report, received_.data(), sizeof report);
        LaunchFailure failure;
        switch (static_cast<Stage>(report.stage)) {
            case Stage::EarlyEnd:
                failure.reason = DescribeEarlyEnd(request_, report.value);
                failure.details = LastLines(received_.substr(sizeof report), kDetailLines);
                break;
            case Stage::Setup:
            case Stage::Fork:
            case Stage::WorkingDirectory:
            case Stage::Exec:
                failure.reason = SystemErrorText(report.value);
                break;
            default:
                failure.reason = SystemErrorText(EIO);
                break;
        }
        failure_ = std::move(failure);
    }

    int fd_;
    ProcessRequest request_;
    std::string received_;
    std::optional<LaunchFailure> failure_;
};

bool IsExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

Launch Failed(int error) {
    return Launch{LaunchFailure{SystemErrorText(error), {}}, nullptr};
}

}  // namespace

std::string SystemErrorText(int error) {
    return std::string(::strerror(error)) + "\n";
}

Launch StartDetached(const ProcessRequest& request) {
    // Built before the fork: the children may not allocate.
    std::vector<std::string> arguments = request.arguments;
    if (arguments.empty()) arguments.push_back(request.program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const char* directory =
        request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str();
    const long watchMilliseconds =
        request.watchTime == kWatchToTheEnd
            ? -1
            : static_cast<long>(std::clamp<long long>(request.watchTime.count(), 0, LONG_MAX));

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return Failed(errno);

    // The middle process only starts the watcher and ends, so the watcher belongs to init
    // and this process never has to reap it.
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return Failed(error);
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t watcher = ::fork();
        if (watcher < 0) Send(report[1], Stage::Fork, errno);
        if (watcher == 0) {
            StartAndWatch(request.program.c_str(), argv.data(), directory, watchMilliseconds,
                          report[1]);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    ::fcntl(report[0], F_SETFL, O_NONBLOCK);
    return Launch{std::nullopt, std::make_unique<ProcessWatch>(report[0], request)};
}

std::string FindProgramOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = std::min(folders.find(':', begin), folders.size());
        // An empty entry stands for the current folder.
        std::string folder = end == begin ? "." : folders.substr(begin, end - begin);
        if (!IsAbsolutePath(folder)) folder = CurrentFolder() + "/" + folder;
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == folders.size()) return {};
        begin = end + 1;
    }
}

}  // namespace wendmoor

#endif
