#include "platform/TemporaryName.h"

#include <chrono>
#include <cstring>
#include <random>

#include "platform/FileSystem.h"

#ifdef _WIN32
#include "platform/windows/WindowsApi.h"
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace wendmoor {

namespace {

constexpr std::size_t kPartLength = 6;

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

const std::int64_t processStart = NowNanoseconds();

std::uint64_t CurrentProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<std::uint64_t>(::getpid());
#endif
}

bool IsProcessRunning(std::uint64_t id) {
    if (id == CurrentProcessId()) return true;
#ifdef _WIN32
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    if (id == 0 || id > static_cast<std::uint64_t>(INT32_MAX)) return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
#endif
}

bool IsPartByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

void PickTemporaryPart(char (&part)[7]) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random(std::random_device{}() ^ CurrentProcessId() << 32 ^
                                        static_cast<std::uint64_t>(NowNanoseconds()));
    for (std::size_t i = 0; i < kPartLength; ++i) {
        part[i] = kLetters[random() % (sizeof kLetters - 1)];
    }
    part[kPartLength] = '\0';
}

std::string TemporaryFileName(std::string_view part) {
    return kTemporaryPrefix + std::to_string(CurrentProcessId()) + '-' + std::string(part);
}

std::string NewTemporaryFileName() {
    char part[7];
    PickTemporaryPart(part);
    return TemporaryFileName(part);
}

bool IsStaleTemporaryName(std::string_view name, std::int64_t modifiedNanoseconds) {
    return modifiedNanoseconds < processStart && IsLeftByEndedProcess(name);
}

bool IsLeftByEndedProcess(std::string_view name) {
    const std::size_t prefixLength = std::strlen(kTemporaryPrefix);
    if (!name.starts_with(kTemporaryPrefix)) return false;
    name.remove_prefix(prefixLength);
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 10) return false;
    std::uint64_t id = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + static_cast<std::uint64_t>(c - '0');
    }
    const std::string_view part = name.substr(dash + 1);
    if (part.size() != kPartLength) return false;
    for (const char c : part) {
        if (!IsPartByte(c)) return false;
    }
    return !IsProcessRunning(id);
}

std::int64_t ProcessStartNanoseconds() {
    return processStart;
}

}  // namespace wendmoor
