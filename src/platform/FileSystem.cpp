#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

#include "platform/Path.h"

namespace wendmoor {

namespace {

bool PathExists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

mode_t CurrentUmask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

}  // namespace

std::string FileSystem::Resolve(const std::string& path) const {
    if (path.empty()) return path;
    if (path.back() == kPathSeparator) return ResolveFolder(path);

    const std::string parent = FolderOf(path);
    const std::string leaf = path.substr(parent.size());
    const std::string resolvedParent = parent.empty() ? parent : ResolveFolder(parent);
    std::string candidate = resolvedParent + leaf;
    if (leaf == "." || leaf == ".." || PathExists(candidate)) return candidate;

    const Listing& listing = ListingOf(resolvedParent);
    const auto found = listing.byLowerName.find(AsciiLower(leaf));
    return found == listing.byLowerName.end() ? candidate : resolvedParent + found->second;
}

std::string FileSystem::ResolveFolder(const std::string& folder) const {
    if (folder.size() <= 1) return folder;
    if (const auto cached = resolvedFolders_.find(folder); cached != resolvedFolders_.end()) {
        return cached->second;
    }
    std::string resolved = Resolve(folder.substr(0, folder.size() - 1)) + kPathSeparator;
    resolvedFolders_.emplace(folder, resolved);
    return resolved;
}

const FileSystem::Listing& FileSystem::ListingOf(const std::string& resolvedFolder) const {
    if (const auto cached = listings_.find(resolvedFolder); cached != listings_.end()) {
        return cached->second;
    }
    Listing listing;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(
        ::opendir(resolvedFolder.empty() ? "." : resolvedFolder.c_str()), ::closedir);
    if (dir) {
        listing.readable = true;
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            auto [slot, inserted] = listing.byLowerName.emplace(AsciiLower(name), name);
            // Several spellings of one name: take the smallest, so the choice never depends
            // on the order in which the folder happens to list them.
            if (!inserted && name < slot->second) slot->second = name;
        }
    }
    return listings_.emplace(resolvedFolder, std::move(listing)).first->second;
}

bool FileSystem::FileExists(const std::string& path) const {
    // The exact spelling first, as it is the common case; only a miss needs the listings.
    struct stat info;
    std::string found = path;
    if (::stat(found.c_str(), &info) != 0) {
        found = Resolve(path);
        if (found == path || ::stat(found.c_str(), &info) != 0) return false;
    }
    return S_ISREG(info.st_mode) && ::access(found.c_str(), R_OK) == 0;
}

bool FileSystem::FolderExists(const std::string& path) const {
    struct stat info;
    return ::stat(Resolve(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileSystem::IsSymbolicLink(const std::string& path) const {
    struct stat info;
    const std::string resolved = Resolve(path);
    const std::string leaf =
        resolved.back() == kPathSeparator ? resolved.substr(0, resolved.size() - 1) : resolved;
    return ::lstat(leaf.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

Outcome FileSystem::DeleteFile(const std::string& path) {
    const std::string resolved = Resolve(path);
    struct stat info;
    if (::lstat(resolved.c_str(), &info) != 0) {
        return errno == ENOENT ? Outcome() : Outcome::SystemError(resolved, errno);
    }
    if (S_ISDIR(info.st_mode)) return Outcome::Failed(resolved, "is a folder, not a file");
    if (::unlink(resolved.c_str()) != 0) return Outcome::SystemError(resolved, errno);
    NoteRemoved(resolved);
    return {};
}

Outcome FileSystem::CreateFolder(const std::string& path, bool* created) {
    if (created != nullptr) *created = false;
    const std::string resolved = Resolve(path);
    if (::mkdir(resolved.c_str(), 0777) != 0) {
        const int error = errno;
        struct stat info;
        if (error == EEXIST && ::stat(resolved.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return {};
        }
        return Outcome::SystemError(resolved, error);
    }
    NoteAdded(resolved);
    if (created != nullptr) *created = true;
    return {};
}

Outcome FileSystem::RemoveFolder(const std::string& path) {
    const std::string resolved = Resolve(path);
    if (::rmdir(resolved.c_str()) != 0) {
        const int error = errno;
        if (error == ENOTEMPTY || error == EEXIST || error == ENOENT) return {};
        return Outcome::SystemError(resolved, error);
    }
    NoteRemoved(resolved);
    return {};
}

Outcome FileSystem::RemoveStaleTemporaryFiles(const std::string& folder) {
    const std::string resolved = Resolve(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(resolved.empty() ? "." : resolved.c_str()),
                                            ::closedir);
    // A folder that is not there holds nothing stale; one that cannot be read is reported by
    // the step that writes into it.
    if (!dir) return {};
    const int dirFd = ::dirfd(dir.get());
    const std::size_t prefixLength = std::strlen(kTemporaryPrefix);
    Outcome outcome;
    bool removed = false;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strncmp(entry->d_name, kTemporaryPrefix, prefixLength) != 0) continue;
        struct stat info;
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        if (::unlinkat(dirFd, entry->d_name, 0) != 0) {
            outcome.Add(resolved + entry->d_name, std::strerror(errno));
        } else {
            removed = true;
        }
    }
    if (removed) listings_.erase(resolved);
    return outcome;
}

Outcome FileSystem::SyncFileSystemsOf(const std::vector<std::string>& folders) {
    std::set<dev_t> synced;
    for (const std::string& folder : std::set<std::string>(folders.begin(), folders.end())) {
        const std::string resolved = Resolve(folder);
        const int fd =
            ::open(resolved.empty() ? "." : resolved.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return Outcome::SystemError(resolved, errno);
        struct stat info;
        int result = ::fstat(fd, &info);
        if (result == 0 && synced.insert(info.st_dev).second) result = ::syncfs(fd);
        const int error = errno;
        ::close(fd);
        if (result != 0) return Outcome::SystemError(resolved, error);
    }
    return {};
}

Outcome FileSystem::SyncFolder(const std::string& folder) {
    const std::string resolved = Resolve(folder);
    const int fd =
        ::open(resolved.empty() ? "." : resolved.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Outcome::SystemError(resolved, errno);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; the renames are then as durable as they
    // can be made.
    if (result != 0 && error != EINVAL && error != EROFS) {
        return Outcome::SystemError(resolved, error);
    }
    return {};
}

bool FileSystem::ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const {
    const std::string resolved = Resolve(path);
    const std::string folder = resolved.empty() ? std::string(".") : resolved;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return false;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            isFolder = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({name, isFolder});
    }
    return true;
}

bool FileSystem::EnterFolder(const std::string& path) {
    return ::chdir(Resolve(path).c_str()) == 0;
}

void FileSystem::ForgetListings() {
    listings_.clear();
    resolvedFolders_.clear();
}

void FileSystem::NoteAdded(const std::string& resolvedPath) {
    const std::string name = FileNameOf(resolvedPath);
    const auto cached = listings_.find(FolderOf(resolvedPath));
    if (cached == listings_.end()) return;
    auto [slot, inserted] = cached->second.byLowerName.emplace(AsciiLower(name), name);
    if (!inserted && name < slot->second) slot->second = name;
}

void FileSystem::NoteRemoved(const std::string& resolvedPath) {
    // Another spelling of the same name may remain, so the folder is listed anew when needed.
    listings_.erase(FolderOf(resolvedPath));
    listings_.erase(resolvedPath + kPathSeparator);
    resolvedFolders_.clear();
}

FileReplacement::FileReplacement(FileSystem& fileSystem, const std::string& target)
    : fileSystem_(fileSystem), target_(fileSystem.Resolve(target)) {
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat info;
    if (::stat(target_.c_str(), &info) == 0) {
        // Only a plain file we may write is replaced, as opening it for writing would allow.
        if (!S_ISREG(info.st_mode)) {
            openOutcome_ = Outcome::Failed(target_, "is not a regular file");
            return;
        }
        if (::access(target_.c_str(), W_OK) != 0) {
            openOutcome_ = Outcome::SystemError(target_, errno);
            return;
        }
        mode = info.st_mode & 07777;
    }
    const std::string folder = FolderOf(target_);
    std::string pattern = folder + kTemporaryPrefix + "XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        openOutcome_ = Outcome::SystemError(target_, errno);
        return;
    }
    temporary_ = pattern;
    if (::fchmod(fd_, mode) != 0) writeError_ = errno;
}

FileReplacement::~FileReplacement() {
    Discard();
}

bool FileReplacement::Write(const void* data, std::size_t size) {
    if (fd_ < 0 || writeError_ != 0 || finished_) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            writeError_ = written < 0 ? errno : ENOSPC;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

Outcome FileReplacement::Finish() {
    if (finished_) return {};
    if (fd_ < 0) return openOutcome_.Ok() ? Outcome::Failed(target_, "not open") : openOutcome_;
    if (writeError_ != 0) {
        const Outcome failed = Outcome::SystemError(target_, writeError_);
        Discard();
        return failed;
    }
    // The bytes reach the disk before the rename can make them the target's; with a deferred
    // sync the caller syncs the whole file system before renaming.
    const int synced =
        deferSync_ ? ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE) : ::fsync(fd_);
    const int syncError = errno;
    const int closed = ::close(fd_);
    const int closeError = errno;
    fd_ = -1;
    if (synced != 0 || closed != 0) {
        Discard();
        return Outcome::SystemError(target_, synced != 0 ? syncError : closeError);
    }
    finished_ = true;
    return {};
}

Outcome FileReplacement::Commit() {
    if (Outcome finished = Finish(); !finished.Ok()) return finished;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const Outcome failed = Outcome::SystemError(target_, errno);
        Discard();
        return failed;
    }
    temporary_.clear();
    fileSystem_.NoteAdded(target_);
    return {};
}

void FileReplacement::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    finished_ = false;
}

}  // namespace wendmoor
