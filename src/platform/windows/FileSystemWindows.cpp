// The file layer on Windows, behind the interface of platform/FileSystem.h.
//
// Names are UTF-8 in the program and go to the ...W functions as UTF-16 (platform/windows/
// Utf16.h), so every name is reached whatever the system's ANSI code page. A path that is not
// valid UTF-8 names no file: the queries answer "absent" and the writes fail with the reason.
// A path is at most MAX_PATH (260) characters, as the ...W functions take it without the
// "\\?\" prefix; the games open their files within that limit too.
//
// Windows file systems ignore letter case themselves, and the lookups below ask them first,
// for the spelling on disk. A folder may still be marked case-sensitive (Windows 10 and later);
// there another spelling is found only in the folder's listing, kept as the other platforms
// keep it.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TemporaryName.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The part of a path that names no file: "C:", "C:\", "\", "\\server\share\" (and "\\?\C:\").
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // "\\?\C:\..." and "\\.\..." name a local path after their prefix.
        if (path.size() >= 4 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3])) {
            return 4 + RootLength(path.substr(4));
        }
        std::size_t at = 2;
        for (int parts = 0; parts < 2 && at < path.size(); ++parts) {
            while (at < path.size() && !IsSeparator(path[at])) ++at;
            if (at < path.size()) ++at;
        }
        return at;
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

// The folder part of a path, with its separator; at least the root.
std::size_t ParentLength(const std::string& path) {
    std::size_t cut = path.size();
    while (cut > 0 && !IsSeparator(path[cut - 1])) --cut;
    return std::max(cut, std::min(RootLength(path), path.size()));
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && !IsSeparator(folder.back()) && folder.back() != ':') folder += '\\';
    return folder;
}

std::string WithoutSeparator(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > RootLength(trimmed) && IsSeparator(trimmed.back())) trimmed.pop_back();
    return trimmed;
}

// FindFirstFileW takes these as wildcards ("<", ">" and the quote too), and no Windows file
// name holds one, so a name with one exists under no spelling.
bool HasWildcard(const std::string& name) {
    return name.find_first_of("*?<>\"") != std::string::npos;
}

// The path for a ...W function; empty, which names no file, when it is not valid UTF-8.
std::wstring Wide(const std::string& path) {
    std::wstring wide;
    ToUtf16(path, wide);
    return wide;
}

// One entry of a folder as FindFirstFileW / FindNextFileW describe it, its name in UTF-8.
struct FoundEntry {
    std::string name;
    DWORD attributes = 0;
    DWORD reparseTag = 0;
    FILETIME written{};
};

FoundEntry EntryOf(const WIN32_FIND_DATAW& found) {
    return {ToUtf8(found.cFileName), found.dwFileAttributes, found.dwReserved0,
            found.ftLastWriteTime};
}

// A file time (100 ns steps since 1601) as nanoseconds since the Unix epoch.
std::int64_t UnixNanoseconds(const FILETIME& time) {
    constexpr std::int64_t kEpochDifference = 116444736000000000LL;
    const std::int64_t steps = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (steps - kEpochDifference) * 100;
}

// One entry, found by its exact path (no wildcards): what FindFirstFileW says of it.
bool FindEntry(const std::string& path, FoundEntry& entry) {
    const std::wstring wide = Wide(path);
    if (wide.empty() || HasWildcard(path)) return false;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(wide.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    entry = EntryOf(found);
    return true;
}

// Calls visit(entry) for every name in the folder but "." and "..". False, with GetLastError()
// telling why, when the folder cannot be listed or its listing fails part way; an empty drive
// root lists nothing and is no failure.
template <typename Visit>
bool ForEachEntry(const std::string& folder, const std::string& pattern, Visit visit) {
    const std::wstring search =
        Wide((folder.empty() ? std::string() : WithSeparator(folder)) + pattern);
    if (search.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    WIN32_FIND_DATAW found;
    const HANDLE handle = FindFirstFileW(search.c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) {
            continue;
        }
        visit(EntryOf(found));
    } while (FindNextFileW(handle, &found));
    const DWORD error = GetLastError();
    FindClose(handle);
    SetLastError(error);
    return error == ERROR_NO_MORE_FILES;
}

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD AttributesOf(const std::string& path) {
    const std::wstring wide = Wide(path);
    return wide.empty() ? kNoAttributes : GetFileAttributesW(wide.c_str());
}

bool IsFolderAttributes(DWORD attributes) {
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

class FileSystem::Impl {
  public:
    Impl() = default;
    ~Impl();

    std::string Resolve(const std::string& path) const;
    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;
    bool IsSymbolicLink(const std::string& path) const;
    bool Exists(const std::string& path) const;
    Outcome DeleteFile(const std::string& path);
    Outcome CreateFolder(const std::string& path, bool* created, FolderAccess access);
    Outcome RemoveFolder(const std::string& path);
    Outcome RenameFolder(const std::string& from, const std::string& to);
    Outcome RemoveStaleTemporaryFiles(const std::string& folder);
    Outcome SyncFolder(const std::string& folder);
    Outcome SyncFileSystemsOf(const std::vector<std::string>& folders);
    Outcome ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const;
    void ForgetListings();

    // The Windows layer lists each folder it looks into (platform/windows/).
    // Keep what is known of a folder true after our own writes, without listing it again.
    void NoteAdded(const std::string& resolvedPath);
    void NoteRemoved(const std::string& resolvedPath);

    struct Listing {
        bool readable = false;
        // case-folded name (FoldCase) -> spelling on disk; the smallest spelling wins when several
        // exist
        std::unordered_map<std::string, std::string> byLowerName;
    };

    // The caller holds mutex_.
    std::string ResolveLocked(const std::string& path) const;
    std::string ResolveFolder(const std::string& folder) const;
    const Listing& ListingOf(const std::string& resolvedFolder) const;

    mutable std::mutex mutex_;
    mutable std::unordered_map<std::string, Listing> listings_;
    mutable std::unordered_map<std::string, std::string> resolvedFolders_;
};

FileSystem::Impl::~Impl() = default;

// The lookups below fill the caches from const operations, which the scan runs on several
// threads at once: each holds mutex_ from the first cache it reads to the last it fills.
std::string FileSystem::Impl::Resolve(const std::string& path) const {
    if (path.size() <= RootLength(path)) return path;
    const std::lock_guard lock(mutex_);
    return ResolveLocked(path);
}

std::string FileSystem::Impl::ResolveLocked(const std::string& path) const {
    if (path.size() <= RootLength(path)) return path;
    if (IsSeparator(path.back())) return ResolveFolder(path);

    const std::size_t cut = ParentLength(path);
    const std::string parent = path.substr(0, cut);
    const std::string leaf = path.substr(cut);
    const std::string resolvedParent =
        parent.size() > RootLength(parent) ? ResolveFolder(parent) : parent;
    std::string candidate = resolvedParent + leaf;
    if (leaf == "." || leaf == "..") return candidate;

    // The file system finds the entry under any letter case and names its spelling on disk.
    FoundEntry found;
    if (FindEntry(candidate, found)) return resolvedParent + found.name;

    // Not found: a folder that respects letter case may still hold it under another spelling.
    const Listing& listing = ListingOf(resolvedParent);
    const auto match = listing.byLowerName.find(FoldCase(leaf));
    return match == listing.byLowerName.end() ? candidate : resolvedParent + match->second;
}

std::string FileSystem::Impl::ResolveFolder(const std::string& folder) const {
    if (folder.size() <= RootLength(folder)) return folder;
    if (const auto cached = resolvedFolders_.find(folder); cached != resolvedFolders_.end()) {
        return cached->second;
    }
    std::string resolved = ResolveLocked(WithoutSeparator(folder)) + folder.back();
    resolvedFolders_.emplace(folder, resolved);
    return resolved;
}

const FileSystem::Impl::Listing& FileSystem::Impl::ListingOf(
    const std::string& resolvedFolder) const {
    if (const auto cached = listings_.find(resolvedFolder); cached != listings_.end()) {
        return cached->second;
    }
    Listing listing;
    listing.readable = ForEachEntry(resolvedFolder, "*", [&](const FoundEntry& entry) {
        const std::string& name = entry.name;
        auto [slot, inserted] = listing.byLowerName.emplace(FoldCase(name), name);
        // Several spellings of one name: take the smallest, so the choice never depends on
        // the order in which the folder happens to list them.
        if (!inserted && name < slot->second) slot->second = name;
    });
    return listings_.emplace(resolvedFolder, std::move(listing)).first->second;
}

bool FileSystem::Impl::FileExists(const std::string& path) const {
    std::string found = path;
    DWORD attributes = AttributesOf(found);
    if (attributes == kNoAttributes) {
        found = Resolve(path);
        if (found == path) return false;
        attributes = AttributesOf(found);
    }
    if (attributes == kNoAttributes || IsFolderAttributes(attributes)) return false;
    // Readable: it opens for reading. A file that another program holds without letting others
    // read it (a running game) is there all the same.
    const HANDLE file = CreateFileW(Wide(found).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return true;
}

bool FileSystem::Impl::FolderExists(const std::string& path) const {
    return IsFolderAttributes(AttributesOf(Resolve(path)));
}

bool FileSystem::Impl::IsSymbolicLink(const std::string& path) const {
    // Symbolic links and junctions; other reparse points (cloud placeholders, deduplicated
    // files) are ordinary files and folders to the player.
    FoundEntry found;
    if (!FindEntry(WithoutSeparator(Resolve(path)), found)) return false;
    return (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.reparseTag == IO_REPARSE_TAG_SYMLINK ||
            found.reparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

bool FileSystem::Impl::Exists(const std::string& path) const {
    return AttributesOf(Resolve(path)) != kNoAttributes;
}

Outcome FileSystem::Impl::RenameFolder(const std::string& from, const std::string& to) {
    const std::string source = Resolve(from);
    const std::string target = Resolve(to);
    std::wstring wideSource, wideTarget;
    if (Outcome named = ToUtf16(source, wideSource, source); !named.Ok()) return named;
    if (Outcome named = ToUtf16(target, wideTarget, target); !named.Ok()) return named;
    const bool moved = MoveFileExW(wideSource.c_str(), wideTarget.c_str(), 0);
    const DWORD error = GetLastError();
    ForgetListings();
    return moved ? Outcome() : WindowsFailure(source, error);
}

Outcome FileSystem::Impl::DeleteFile(const std::string& path) {
    const std::string resolved = Resolve(path);
    std::wstring wide;
    if (Outcome named = ToUtf16(resolved, wide, resolved); !named.Ok()) return named;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == kNoAttributes) {
        const DWORD error = GetLastError();
        return IsMissingError(error) ? Outcome() : WindowsFailure(resolved, error);
    }
    if (IsFolderAttributes(attributes)) return Outcome::Failed(resolved, "is a folder, not a file");
    if (!DeleteFileW(wide.c_str())) return WindowsFailure(resolved, GetLastError());
    NoteRemoved(resolved);
    return {};
}

Outcome FileSystem::Impl::CreateFolder(const std::string& path, bool* created, FolderAccess) {
    if (created != nullptr) *created = false;
    const std::string resolved = Resolve(path);
    std::wstring wide;
    if (Outcome named = ToUtf16(resolved, wide, resolved); !named.Ok()) return named;
    if (!CreateDirectoryW(wide.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS && IsFolderAttributes(GetFileAttributesW(wide.c_str()))) {
            return {};
        }
        return WindowsFailure(resolved, error);
    }
    NoteAdded(WithoutSeparator(resolved));
    if (created != nullptr) *created = true;
    return {};
}

Outcome FileSystem::Impl::RemoveFolder(const std::string& path) {
    const std::string resolved = Resolve(path);
    std::wstring wide;
    if (Outcome named = ToUtf16(resolved, wide, resolved); !named.Ok()) return named;
    // RemoveDirectoryW removes a link to a folder however full the folder is; only a real,
    // empty folder goes.
    if (IsSymbolicLink(resolved)) return Outcome::Failed(resolved, "is a link, not a folder");
    if (!RemoveDirectoryW(wide.c_str())) {
        const DWORD error = GetLastError();
        if (error == ERROR_DIR_NOT_EMPTY || IsMissingError(error)) return {};
        return WindowsFailure(resolved, error);
    }
    NoteRemoved(WithoutSeparator(resolved));
    return {};
}

Outcome FileSystem::Impl::RemoveStaleTemporaryFiles(const std::string& folder) {
    const std::string resolved = Resolve(folder);
    const std::string prefix = resolved.empty() ? std::string() : WithSeparator(resolved);
    const std::size_t prefixLength = std::strlen(kTemporaryPrefix);
    Outcome outcome;
    bool removed = false;
    // A folder that is not there holds nothing stale; one that cannot be read is reported by
    // the step that writes into it.
    ForEachEntry(resolved, std::string(kTemporaryPrefix) + "*", [&](const FoundEntry& entry) {
        // The pattern also matches short (8.3) names, so the long name is checked as well.
        if (entry.name.compare(0, prefixLength, kTemporaryPrefix) != 0) return;
        if (entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return;
        if (!IsStaleTemporaryName(entry.name, UnixNanoseconds(entry.written))) return;
        const std::string stale = prefix + entry.name;
        if (!DeleteFileW(Wide(stale).c_str())) {
            outcome.Merge(WindowsFailure(stale, GetLastError()));
        } else {
            removed = true;
        }
    });
    if (removed) {
        const std::lock_guard lock(mutex_);
        listings_.erase(prefix);
    }
    return outcome;
}

// Windows offers an unprivileged process no flush of a whole volume, nor of a folder. The files
// are therefore flushed one by one when they are finished (see FileReplacement::Finish), and
// the renames that commit them are written through; what is left to do here is to report a
// folder that is not there, as the other platforms do.
Outcome FileSystem::Impl::SyncFileSystemsOf(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (Outcome synced = SyncFolder(folder); !synced.Ok()) return synced;
    }
    return {};
}

Outcome FileSystem::Impl::SyncFolder(const std::string& folder) {
    // NTFS logs its changes of names itself, and MOVEFILE_WRITE_THROUGH returns only once a
    // rename is on the disk.
    const std::string resolved = Resolve(folder);
    std::wstring wide = L".";
    if (!resolved.empty()) {
        if (Outcome named = ToUtf16(resolved, wide, resolved); !named.Ok()) return named;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == kNoAttributes) return WindowsFailure(resolved, GetLastError());
    if (!IsFolderAttributes(attributes)) return WindowsFailure(resolved, ERROR_DIRECTORY);
    return {};
}

Outcome FileSystem::Impl::ListFolder(const std::string& path,
                                     std::vector<FolderEntry>& entries) const {
    const std::string resolved = Resolve(path);
    const bool listed = ForEachEntry(resolved, "*", [&](const FoundEntry& entry) {
        entries.push_back({entry.name, IsFolderAttributes(entry.attributes)});
    });
    return listed ? Outcome() : WindowsFailure(resolved, GetLastError());
}

void FileSystem::Impl::ForgetListings() {
    const std::lock_guard lock(mutex_);
    listings_.clear();
    resolvedFolders_.clear();
}

void FileSystem::Impl::NoteAdded(const std::string& resolvedPath) {
    const std::lock_guard lock(mutex_);
    const std::size_t cut = ParentLength(resolvedPath);
    const std::string name = resolvedPath.substr(cut);
    const auto cached = listings_.find(resolvedPath.substr(0, cut));
    if (cached == listings_.end() || name.empty()) return;
    auto [slot, inserted] = cached->second.byLowerName.emplace(FoldCase(name), name);
    if (!inserted && name < slot->second) slot->second = name;
}

void FileSystem::Impl::NoteRemoved(const std::string& resolvedPath) {
    // Another spelling of the same name may remain, so the folder is listed anew when needed.
    const std::lock_guard lock(mutex_);
    listings_.erase(resolvedPath.substr(0, ParentLength(resolvedPath)));
    listings_.erase(resolvedPath + '\\');
    listings_.erase(resolvedPath + '/');
    resolvedFolders_.clear();
}

// The temporary file is held as a C runtime descriptor made from its handle
// (_open_osfhandle), so the class keeps one member layout on every platform; the handle is
// taken back with _get_osfhandle for the Win32 calls, and _close closes it.
FileReplacement::FileReplacement(FileSystem& fileSystem, const std::string& target)
    : fileSystem_(fileSystem), target_(fileSystem.Resolve(target)) {
    // The attributes the player sees (hidden, system, archive) go over to the new file. Its
    // access rights are those the folder gives a new file, as for every file installed there.
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    std::wstring wideTarget;
    openOutcome_ = ToUtf16(target_, wideTarget, target_);
    if (!openOutcome_.Ok()) return;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (const DWORD existing = GetFileAttributesW(wideTarget.c_str()); existing != kNoAttributes) {
        // Only a plain file we may write and replace is replaced.
        if (existing & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
            openOutcome_ = Outcome::Failed(target_, "is not a regular file");
            return;
        }
        if (existing & FILE_ATTRIBUTE_READONLY) {
            openOutcome_ = Outcome::Failed(target_, "is read-only");
            return;
        }
        // Opening it for writing and deleting tells whether the rename over it will be allowed,
        // before anything is written: a running game may hold it.
        const HANDLE probe = CreateFileW(wideTarget.c_str(), GENERIC_WRITE | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            openOutcome_ = WindowsFailure(target_, GetLastError());
            return;
        }
        CloseHandle(probe);
        if (existing & kKeptAttributes) attributes = existing & kKeptAttributes;
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_SUCCESS;
    // CREATE_NEW makes sure the temporary name is new.
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        PickTemporaryPart(suffix_);
        file = CreateFileW(Wide(TemporaryPath()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           attributes, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        suffix_[0] = '\0';
        openOutcome_ = WindowsFailure(target_, error);
        return;
    }
    fd_ = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd_ < 0) {
        CloseHandle(file);
        DeleteFileW(Wide(TemporaryPath()).c_str());
        suffix_[0] = '\0';
        openOutcome_ = WindowsFailure(target_, ERROR_TOO_MANY_OPEN_FILES);
        return;
    }
}

std::string FileReplacement::TemporaryPath() const {
    return target_.substr(0, ParentLength(target_)) + TemporaryFileName(suffix_);
}

FileReplacement::~FileReplacement() {
    Discard();
}

bool FileReplacement::Write(const void* data, std::size_t size) {
    if (fd_ < 0 || writeError_ != 0 || finished_) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(HandleOf(fd_), bytes, chunk, &written, nullptr) || written == 0) {
            const DWORD error = GetLastError();
            writeError_ = static_cast<int>(error != ERROR_SUCCESS ? error : ERROR_DISK_FULL);
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

Outcome FileReplacement::Finish() {
    if (finished_) return {};
    if (fd_ < 0) return openOutcome_.Ok() ? Outcome::Failed(target_, "not open") : openOutcome_;
    if (writeError_ != 0) {
        const Outcome failed = WindowsFailure(target_, static_cast<DWORD>(writeError_));
        Discard();
        return failed;
    }
    // The bytes reach the disk before the rename can make them the target's. A deferred sync
    // makes no difference here: the volume cannot be flushed as a whole (see SyncFileSystemsOf).
    const bool flushed = FlushFileBuffers(HandleOf(fd_)) != 0;
    const DWORD flushError = GetLastError();
    const bool closed = _close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed) {
        Discard();
        return WindowsFailure(target_, !flushed ? flushError : ERROR_WRITE_FAULT);
    }
    finished_ = true;
    return {};
}

Outcome FileReplacement::Commit() {
    if (Outcome finished = Finish(); !finished.Ok()) return finished;
    // One rename over the target: it holds the old bytes or the new ones, whatever happens.
    // ReplaceFileW would keep more of the old file (its access rights, its creation time), but
    // one of its failures leaves the target missing.
    if (!MoveFileExW(Wide(TemporaryPath()).c_str(), Wide(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Outcome failed = WindowsFailure(target_, GetLastError());
        Discard();
        return failed;
    }
    suffix_[0] = '\0';
    fileSystem_.impl_->NoteAdded(target_);
    return {};
}

void FileReplacement::Discard() {
    if (fd_ >= 0) {
        _close(fd_);
        fd_ = -1;
    }
    if (suffix_[0] != '\0') {
        DeleteFileW(Wide(TemporaryPath()).c_str());
        suffix_[0] = '\0';
    }
    finished_ = false;
}

FileSystem::FileSystem() : impl_(std::make_unique<Impl>()) {}

FileSystem::~FileSystem() = default;

std::string FileSystem::Resolve(const std::string& path) const {
    return impl_->Resolve(path);
}

bool FileSystem::FileExists(const std::string& path) const {
    return impl_->FileExists(path);
}

bool FileSystem::FolderExists(const std::string& path) const {
    return impl_->FolderExists(path);
}

bool FileSystem::IsSymbolicLink(const std::string& path) const {
    return impl_->IsSymbolicLink(path);
}

bool FileSystem::Exists(const std::string& path) const {
    return impl_->Exists(path);
}

Outcome FileSystem::DeleteFile(const std::string& path) {
    return impl_->DeleteFile(path);
}

Outcome FileSystem::CreateFolder(const std::string& path, bool* created, FolderAccess access) {
    return impl_->CreateFolder(path, created, access);
}

Outcome FileSystem::RemoveFolder(const std::string& path) {
    return impl_->RemoveFolder(path);
}

Outcome FileSystem::RenameFolder(const std::string& from, const std::string& to) {
    return impl_->RenameFolder(from, to);
}

Outcome FileSystem::RemoveStaleTemporaryFiles(const std::string& folder) {
    return impl_->RemoveStaleTemporaryFiles(folder);
}

Outcome FileSystem::SyncFolder(const std::string& folder) {
    return impl_->SyncFolder(folder);
}

Outcome FileSystem::SyncFileSystemsOf(const std::vector<std::string>& folders) {
    return impl_->SyncFileSystemsOf(folders);
}

Outcome FileSystem::ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const {
    return impl_->ListFolder(path, entries);
}

void FileSystem::ForgetListings() {
    return impl_->ForgetListings();
}

}  // namespace wendmoor
