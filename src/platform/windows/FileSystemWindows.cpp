// The file layer on Windows, behind the interface of platform/FileSystem.h.
//
// Names stay the bytes they are everywhere else in the program and go to the ...A functions
// unchanged, so they are read in the system's ANSI code page. That limits what this layer can
// reach: a file whose name holds a character the code page cannot spell is listed with "?" in
// its place and cannot be opened under that name, and a path is at most MAX_PATH (260) bytes.
// The games open their files through the same functions, so every file a game can use is
// within reach.
//
// Windows file systems ignore letter case themselves, and the lookups below ask them first,
// for the spelling on disk. A folder may still be marked case-sensitive (Windows 10 and later);
// there another spelling is found only in the folder's listing, kept as the other platforms
// keep it.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
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

// FindFirstFileA takes these as wildcards ("<", ">" and the quote too), and no Windows file
// name holds one, so a name with one exists under no spelling.
bool HasWildcard(const std::string& name) {
    return name.find_first_of("*?<>\"") != std::string::npos;
}

// One entry, found by its exact path (no wildcards): what FindFirstFileA says of it.
bool FindEntry(const std::string& path, WIN32_FIND_DATAA& found) {
    if (path.empty() || HasWildcard(path)) return false;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

// Calls visit(entry) for every name in the folder but "." and "..". False when the folder
// cannot be listed; an empty drive root lists nothing and is no failure.
template <typename Visit>
bool ForEachEntry(const std::string& folder, const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAA found;
    const std::string search = (folder.empty() ? std::string() : WithSeparator(folder)) + pattern;
    const HANDLE handle = FindFirstFileA(search.c_str(), &found);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) {
            continue;
        }
        visit(found);
    } while (FindNextFileA(handle, &found));
    FindClose(handle);
    return true;
}

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

bool IsFolderAttributes(DWORD attributes) {
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A name for a temporary file that no other process is likely to choose at the same moment;
// CREATE_NEW makes sure it is new.
std::string TemporaryName() {
    static std::atomic<std::uint64_t> counter{0};
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::uint64_t seed = static_cast<std::uint64_t>(now.QuadPart) ^
                         (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^ ++counter;
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = kTemporaryPrefix;
    for (int i = 0; i < 6; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        name += kLetters[(seed >> 33) % (sizeof(kLetters) - 1)];
    }
    return name;
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

}  // namespace

FileSystem::~FileSystem() = default;

std::string FileSystem::Resolve(const std::string& path) const {
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
    WIN32_FIND_DATAA found;
    if (FindEntry(candidate, found)) return resolvedParent + found.cFileName;

    // Not found: a folder that respects letter case may still hold it under another spelling.
    const Listing& listing = ListingOf(resolvedParent);
    const auto match = listing.byLowerName.find(FoldCase(leaf));
    return match == listing.byLowerName.end() ? candidate : resolvedParent + match->second;
}

std::string FileSystem::ResolveFolder(const std::string& folder) const {
    if (folder.size() <= RootLength(folder)) return folder;
    if (const auto cached = resolvedFolders_.find(folder); cached != resolvedFolders_.end()) {
        return cached->second;
    }
    std::string resolved = Resolve(WithoutSeparator(folder)) + folder.back();
    resolvedFolders_.emplace(folder, resolved);
    return resolved;
}

const FileSystem::Listing& FileSystem::ListingOf(const std::string& resolvedFolder) const {
    if (const auto cached = listings_.find(resolvedFolder); cached != listings_.end()) {
        return cached->second;
    }
    Listing listing;
    listing.readable = ForEachEntry(resolvedFolder, "*", [&](const WIN32_FIND_DATAA& entry) {
        const std::string name = entry.cFileName;
        auto [slot, inserted] = listing.byLowerName.emplace(FoldCase(name), name);
        // Several spellings of one name: take the smallest, so the choice never depends on
        // the order in which the folder happens to list them.
        if (!inserted && name < slot->second) slot->second = name;
    });
    return listings_.emplace(resolvedFolder, std::move(listing)).first->second;
}

bool FileSystem::FileExists(const std::string& path) const {
    std::string found = path;
    DWORD attributes = GetFileAttributesA(found.c_str());
    if (attributes == kNoAttributes) {
        found = Resolve(path);
        if (found == path) return false;
        attributes = GetFileAttributesA(found.c_str());
    }
    if (attributes == kNoAttributes || IsFolderAttributes(attributes)) return false;
    // Readable: it opens for reading. A file that another program holds without letting others
    // read it (a running game) is there all the same.
    const HANDLE file = CreateFileA(found.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return true;
}

bool FileSystem::FolderExists(const std::string& path) const {
    return IsFolderAttributes(GetFileAttributesA(Resolve(path).c_str()));
}

bool FileSystem::IsSymbolicLink(const std::string& path) const {
    // Symbolic links and junctions; other reparse points (cloud placeholders, deduplicated
    // files) are ordinary files and folders to the player.
    WIN32_FIND_DATAA found;
    if (!FindEntry(WithoutSeparator(Resolve(path)), found)) return false;
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
            found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

Outcome FileSystem::DeleteFile(const std::string& path) {
    const std::string resolved = Resolve(path);
    const DWORD attributes = GetFileAttributesA(resolved.c_str());
    if (attributes == kNoAttributes) {
        const DWORD error = GetLastError();
        return IsMissingError(error) ? Outcome() : WindowsFailure(resolved, error);
    }
    if (IsFolderAttributes(attributes)) return Outcome::Failed(resolved, "is a folder, not a file");
    if (!DeleteFileA(resolved.c_str())) return WindowsFailure(resolved, GetLastError());
    NoteRemoved(resolved);
    return {};
}

Outcome FileSystem::CreateFolder(const std::string& path, bool* created) {
    if (created != nullptr) *created = false;
    const std::string resolved = Resolve(path);
    if (!CreateDirectoryA(resolved.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS &&
            IsFolderAttributes(GetFileAttributesA(resolved.c_str()))) {
            return {};
        }
        return WindowsFailure(resolved, error);
    }
    NoteAdded(WithoutSeparator(resolved));
    if (created != nullptr) *created = true;
    return {};
}

Outcome FileSystem::RemoveFolder(const std::string& path) {
    const std::string resolved = Resolve(path);
    // RemoveDirectoryA removes a link to a folder however full the folder is; only a real,
    // empty folder goes.
    if (IsSymbolicLink(resolved)) return Outcome::Failed(resolved, "is a link, not a folder");
    if (!RemoveDirectoryA(resolved.c_str())) {
        const DWORD error = GetLastError();
        if (error == ERROR_DIR_NOT_EMPTY || IsMissingError(error)) return {};
        return WindowsFailure(resolved, error);
    }
    NoteRemoved(WithoutSeparator(resolved));
    return {};
}

Outcome FileSystem::RemoveStaleTemporaryFiles(const std::string& folder) {
    const std::string resolved = Resolve(folder);
    const std::string prefix = resolved.empty() ? std::string() : WithSeparator(resolved);
    const std::size_t prefixLength = std::strlen(kTemporaryPrefix);
    Outcome outcome;
    bool removed = false;
    // A folder that is not there holds nothing stale; one that cannot be read is reported by
    // the step that writes into it.
    ForEachEntry(resolved, std::string(kTemporaryPrefix) + "*", [&](const WIN32_FIND_DATAA& entry) {
        // The pattern also matches short (8.3) names, so the long name is checked as well.
        if (std::strncmp(entry.cFileName, kTemporaryPrefix, prefixLength) != 0) return;
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
            return;
        }
        const std::string stale = prefix + entry.cFileName;
        if (!DeleteFileA(stale.c_str())) {
            outcome.Merge(WindowsFailure(stale, GetLastError()));
        } else {
            removed = true;
        }
    });
    if (removed) listings_.erase(prefix);
    return outcome;
}

// Windows offers an unprivileged process no flush of a whole volume, nor of a folder. The files
// are therefore flushed one by one when they are finished (see FileReplacement::Finish), and
// the renames that commit them are written through; what is left to do here is to report a
// folder that is not there, as the other platforms do.
Outcome FileSystem::SyncFileSystemsOf(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (Outcome synced = SyncFolder(folder); !synced.Ok()) return synced;
    }
    return {};
}

Outcome FileSystem::SyncFolder(const std::string& folder) {
    // NTFS logs its changes of names itself, and MOVEFILE_WRITE_THROUGH returns only once a
    // rename is on the disk.
    const std::string resolved = Resolve(folder);
    const DWORD attributes = GetFileAttributesA(resolved.empty() ? "." : resolved.c_str());
    if (attributes == kNoAttributes) return WindowsFailure(resolved, GetLastError());
    if (!IsFolderAttributes(attributes)) return WindowsFailure(resolved, ERROR_DIRECTORY);
    return {};
}

bool FileSystem::ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const {
    return ForEachEntry(Resolve(path), "*", [&](const WIN32_FIND_DATAA& entry) {
        entries.push_back({entry.cFileName, IsFolderAttributes(entry.dwFileAttributes)});
    });
}

bool FileSystem::EnterFolder(const std::string& path) {
    return SetCurrentDirectoryA(Resolve(path).c_str()) != 0;
}

void FileSystem::ForgetListings() {
    listings_.clear();
    resolvedFolders_.clear();
}

void FileSystem::NoteAdded(const std::string& resolvedPath) {
    const std::size_t cut = ParentLength(resolvedPath);
    const std::string name = resolvedPath.substr(cut);
    const auto cached = listings_.find(resolvedPath.substr(0, cut));
    if (cached == listings_.end() || name.empty()) return;
    auto [slot, inserted] = cached->second.byLowerName.emplace(FoldCase(name), name);
    if (!inserted && name < slot->second) slot->second = name;
}

void FileSystem::NoteRemoved(const std::string& resolvedPath) {
    // Another spelling of the same name may remain, so the folder is listed anew when needed.
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
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (const DWORD existing = GetFileAttributesA(target_.c_str()); existing != kNoAttributes) {
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
        const HANDLE probe = CreateFileA(target_.c_str(), GENERIC_WRITE | DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            openOutcome_ = WindowsFailure(target_, GetLastError());
            return;
        }
        CloseHandle(probe);
        if (existing & kKeptAttributes) attributes = existing & kKeptAttributes;
    }
    const std::string folder = target_.substr(0, ParentLength(target_));
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_SUCCESS;
    std::string name;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        name = folder + TemporaryName();
        file =
            CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        openOutcome_ = WindowsFailure(target_, error);
        return;
    }
    fd_ = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd_ < 0) {
        CloseHandle(file);
        DeleteFileA(name.c_str());
        openOutcome_ = WindowsFailure(target_, ERROR_TOO_MANY_OPEN_FILES);
        return;
    }
    temporary_ = name;
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
    // ReplaceFileA would keep more of the old file (its access rights, its creation time), but
    // one of its failures leaves the target missing.
    if (!MoveFileExA(temporary_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Outcome failed = WindowsFailure(target_, GetLastError());
        Discard();
        return failed;
    }
    temporary_.clear();
    fileSystem_.NoteAdded(target_);
    return {};
}

void FileReplacement::Discard() {
    if (fd_ >= 0) {
        _close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        DeleteFileA(temporary_.c_str());
        temporary_.clear();
    }
    finished_ = false;
}

}  // namespace wendmoor
