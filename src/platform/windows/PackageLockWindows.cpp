// The folder lock on Windows: one named mutex per folder, in the namespace every session
// shares, so the processes of every user wait for each other. The system releases a mutex when
// its owner ends, however it ends: a waiter then gets it as abandoned, which is as good.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <utility>

#include "platform/CaseFold.h"
#include "platform/PackageLock.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsError.h"

// After windows.h, which it needs.
#include <sddl.h>

namespace wendmoor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};
// Wait for it and release it; nothing more, so any user may open a mutex another user made.
constexpr DWORD kMutexAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;

// A mutex is re-entrant for its owning thread, where a second hold on a folder must wait as it
// does on Linux: the names this thread holds, to tell.
thread_local std::vector<std::pair<std::intptr_t, std::string>> heldByThisThread;

struct NamedFolder {
    std::string path;
    std::string name;
};

// The folder as the system knows it, links, short names and letter case resolved where it can
// be opened; its full path otherwise.
std::wstring CanonicalPath(const std::wstring& folder) {
    std::wstring path(32768, L'\0');
    const HANDLE handle =
        CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    DWORD length = 0;
    if (handle != INVALID_HANDLE_VALUE) {
        length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        CloseHandle(handle);
    }
    if (length == 0 || length >= path.size()) {
        length =
            GetFullPathNameW(folder.c_str(), static_cast<DWORD>(path.size()), path.data(), nullptr);
        if (length == 0 || length >= path.size()) return folder;
    }
    path.resize(length);
    if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

std::uint64_t Fnv1a(const std::string& text, std::uint64_t hash) {
    for (const unsigned char byte : text) hash = (hash ^ byte) * 0x100000001b3ULL;
    return hash;
}

// A path may be longer than a name may be and holds backslashes, which a name may not: the name
// is a 128-bit hash of the case-folded path.
std::string MutexNameOf(const std::string& canonical) {
    const std::string folded = FoldCase(canonical);
    char name[80];
    std::snprintf(name, sizeof name, "Global\\wendmoor-folder-%016llx%016llx",
                  static_cast<unsigned long long>(Fnv1a(folded, 0xcbf29ce484222325ULL)),
                  static_cast<unsigned long long>(Fnv1a(folded, 0x84222325cbf29ce4ULL)));
    return name;
}

bool HeldByThisThread(const std::string& name) {
    return std::any_of(heldByThisThread.begin(), heldByThisThread.end(),
                       [&](const auto& held) { return held.second == name; });
}

HANDLE OpenMutex(const std::string& name, DWORD& error) {
    // Everyone may wait for it and release it; the system and administrators may do the rest.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;0x001F0001;;;SY)(A;;0x001F0001;;;BA)(A;;0x00100001;;;WD)", SDDL_REVISION_1,
        &descriptor, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    std::wstring wide;
    ToUtf16(name, wide);  // ASCII
    const HANDLE mutex = CreateMutexExW(descriptor != nullptr ? &attributes : nullptr, wide.c_str(),
                                        0, kMutexAccess);
    error = GetLastError();
    if (descriptor != nullptr) LocalFree(descriptor);
    return mutex;
}

}  // namespace

PackageLock::~PackageLock() {
    Release();
}

void PackageLock::Release() {
    for (const std::intptr_t held : held_) {
        const HANDLE mutex = reinterpret_cast<HANDLE>(held);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        std::erase_if(heldByThisThread, [&](const auto& entry) { return entry.first == held; });
    }
    held_.clear();
}

Outcome PackageLock::Acquire(Mode, const std::vector<std::string>& folders,
                             const KeepWaiting& keepWaiting) {
    Release();
    std::vector<NamedFolder> named;
    for (const std::string& path : folders) {
        if (path.empty()) continue;
        std::wstring wide;
        if (Outcome valid = ToUtf16(path, wide, path); !valid.Ok()) return valid;
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) continue;
            return WindowsFailure(path, error);
        }
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        named.push_back({path, MutexNameOf(ToUtf8(CanonicalPath(wide)))});
    }
    // One order for every process, and a folder named twice (a link, another spelling) once.
    std::sort(named.begin(), named.end(),
              [](const NamedFolder& a, const NamedFolder& b) { return a.name < b.name; });
    named.erase(
        std::unique(named.begin(), named.end(),
                    [](const NamedFolder& a, const NamedFolder& b) { return a.name == b.name; }),
        named.end());

    const auto start = std::chrono::steady_clock::now();
    for (const NamedFolder& folder : named) {
        DWORD error = 0;
        const HANDLE mutex = OpenMutex(folder.name, error);
        if (mutex == nullptr) {
            Release();
            return WindowsFailure(folder.path, error);
        }
        for (;;) {
            const bool again = HeldByThisThread(folder.name);
            const DWORD waited =
                again ? WAIT_TIMEOUT : WaitForSingleObject(mutex, keepWaiting ? 0 : INFINITE);
            if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
                held_.push_back(reinterpret_cast<std::intptr_t>(mutex));
                heldByThisThread.emplace_back(held_.back(), folder.name);
                break;
            }
            if (waited == WAIT_FAILED) {
                const DWORD failure = GetLastError();
                CloseHandle(mutex);
                Release();
                return WindowsFailure(folder.path, failure);
            }
            const auto sofar = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            // Without a question to ask, a second hold of this thread would wait for ever.
            if (!keepWaiting || !keepWaiting(sofar)) {
                CloseHandle(mutex);
                Release();
                return Outcome::Failed(folder.path, kFolderInUse);
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    return {};
}

}  // namespace wendmoor
