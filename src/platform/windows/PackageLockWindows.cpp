// The folder lock on Windows: one named mutex per folder, in the namespace every session
// shares, so the processes of every user wait for each other. The system releases a mutex when
// its owner ends, however it ends: a waiter then gets it as abandoned, which is as good.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <tuple>

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
// does on Linux: the folders this thread holds, to tell. Plain data, as a thread-local object
// with a destructor is not safe at thread exit in every Windows C++ runtime.
struct HeldMutex {
    std::intptr_t handle;
    std::uint64_t key[2];
};
constexpr int kMostHeld = 64;
thread_local HeldMutex heldByThisThread[kMostHeld];
thread_local int heldCount = 0;

struct NamedFolder {
    std::string path;
    std::uint64_t key[2];  // a hash of its case-folded full path
    bool operator<(const NamedFolder& other) const {
        return std::tie(key[0], key[1]) < std::tie(other.key[0], other.key[1]);
    }
    bool operator==(const NamedFolder& other) const {
        return key[0] == other.key[0] && key[1] == other.key[1];
    }
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

NamedFolder NamedAfter(const std::string& path, const std::string& canonical) {
    const std::string folded = FoldCase(canonical);
    return {path, {Fnv1a(folded, 0xcbf29ce484222325ULL), Fnv1a(folded, 0x84222325cbf29ce4ULL)}};
}

// A path may be longer than a name may be and holds backslashes, which a name may not: the name
// is a 128-bit hash of the case-folded path.
std::string MutexNameOf(const NamedFolder& folder) {
    char name[80];
    std::snprintf(name, sizeof name, "Global\\wendmoor-folder-%016llx%016llx",
                  static_cast<unsigned long long>(folder.key[0]),
                  static_cast<unsigned long long>(folder.key[1]));
    return name;
}

bool HeldByThisThread(const NamedFolder& folder) {
    for (int at = 0; at < heldCount; ++at) {
        const HeldMutex& held = heldByThisThread[at];
        if (held.key[0] == folder.key[0] && held.key[1] == folder.key[1]) return true;
    }
    return false;
}

void NoteHeld(std::intptr_t handle, const NamedFolder& folder) {
    if (heldCount < kMostHeld) {
        heldByThisThread[heldCount++] = {handle, {folder.key[0], folder.key[1]}};
    }
}

void NoteReleased(std::intptr_t handle) {
    for (int at = 0; at < heldCount; ++at) {
        if (heldByThisThread[at].handle == handle) {
            heldByThisThread[at] = heldByThisThread[--heldCount];
            return;
        }
    }
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
        NoteReleased(held);
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
        named.push_back(NamedAfter(path, ToUtf8(CanonicalPath(wide))));
    }
    // One order for every process, and a folder named twice (a link, another spelling) once.
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());

    const auto start = std::chrono::steady_clock::now();
    for (const NamedFolder& folder : named) {
        DWORD error = 0;
        const HANDLE mutex = OpenMutex(MutexNameOf(folder), error);
        if (mutex == nullptr) {
            Release();
            return WindowsFailure(folder.path, error);
        }
        for (;;) {
            const bool again = HeldByThisThread(folder);
            const DWORD waited =
                again ? WAIT_TIMEOUT : WaitForSingleObject(mutex, keepWaiting ? 0 : INFINITE);
            if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
                held_.push_back(reinterpret_cast<std::intptr_t>(mutex));
                NoteHeld(held_.back(), folder);
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
