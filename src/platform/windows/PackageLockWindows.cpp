// The command lock on Windows: a byte-range lock (LockFileEx) on a file in the user's local
// application data folder. The system drops it when the handle closes, so when the process
// ends, however it ends.
#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <thread>

#include "platform/PackageLock.h"
#include "platform/ProgramArguments.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

bool IsFolder(const std::string& path) {
    std::wstring wide;
    if (!ToUtf16(path, wide)) return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

// The whole file is the lock; a one-byte range is all LockFileEx needs.
bool LockOneByte(HANDLE file, DWORD flags) {
    OVERLAPPED at = {};
    return LockFileEx(file, flags, 0, 1, 0, &at) != 0;
}

}  // namespace

std::string PackageLock::LockFilePath() {
    // The local application data folder belongs to the user alone, as does the temporary
    // folder Windows gives each user.
    if (const std::string local = EnvironmentVariable("LOCALAPPDATA"); IsFolder(local)) {
        return WithSeparator(local) + "wendmoor.lock";
    }
    wchar_t temporary[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
    const std::string folder = length > 0 && length <= MAX_PATH ? ToUtf8(temporary) : ".\\";
    return WithSeparator(folder) + "wendmoor.lock";
}

PackageLock::~PackageLock() {
    Release();
}

// The handle is kept as a C runtime descriptor (_open_osfhandle), so the class has one layout
// on every platform; closing it drops the lock.
void PackageLock::Release() {
    if (fd_ < 0) return;
    _close(fd_);
    fd_ = -1;
}

Outcome PackageLock::Acquire(Mode mode, const KeepWaiting& keepWaiting) {
    Release();
    const std::string path = LockFilePath();
    std::wstring wide;
    if (Outcome named = ToUtf16(path, wide, "the lock file " + path); !named.Ok()) return named;
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return WindowsFailure("the lock file " + path, GetLastError());
    }
    DWORD flags = mode == Mode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
    if (keepWaiting) flags |= LOCKFILE_FAIL_IMMEDIATELY;

    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (LockOneByte(file, flags)) {
            fd_ = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDWR | _O_BINARY);
            if (fd_ >= 0) return {};
            CloseHandle(file);
            return WindowsFailure("the lock file " + path, ERROR_TOO_MANY_OPEN_FILES);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            CloseHandle(file);
            return WindowsFailure("the lock file " + path, error);
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (!keepWaiting(waited)) {
            CloseHandle(file);
            return Outcome::Failed("the game folders",
                                   "another Wendmoor command is running (lock " + path + ")");
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace wendmoor
