#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/CaseFold.h"
#include "platform/Path.h"
#include "platform/TemporaryName.h"

namespace wendmoor {

namespace {

// Finished replacements waiting for their flush, each with its descriptor open.
// Folders kept open for fstatat after their listing; more are asked by path.
constexpr int kMaxOpenFolders = 64;
constexpr std::size_t kListingBuffer = 32 * 1024;

mode_t CurrentUmask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// Whether the calling user may read (R_OK) or write (W_OK) what `info` describes, as access(2)
// answers: the superuser may, the owner by the owner's bits, anyone else is asked about.
bool MayAccess(const struct stat& info, int dirFd, const std::string& path, int mode) {
    static const uid_t user = ::getuid();
    if (user == 0) return true;
    if (info.st_uid == user) {
        const mode_t bit = mode == W_OK ? S_IWUSR : S_IRUSR;
        if ((info.st_mode & bit) != 0) return true;
        errno = EACCES;
        return false;
    }
    return ::faccessat(dirFd, path.c_str(), mode, 0) == 0;
}

int StatAt(int dirFd, const std::string& path, struct stat& info, int flags = 0) {
    return ::fstatat(dirFd, path.empty() ? "." : path.c_str(), &info, flags);
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

    struct Spelling {
        std::string name;  // the smallest spelling on disk
        bool several = false;
        unsigned char type = 0;  // d_type of `name`
    };
    struct Folder {
        int fd = -1;  // open while listed, for the folders listed first
        bool listed = false;
        bool unreadable = false;  // listing it failed; not tried again
        // Without a descriptor of its own, its names are asked relative to an open folder a
        // few levels up (or by the whole path): worked out on the first use.
        mutable bool anchored = false;
        mutable int anchorFd = -1;
        mutable std::string anchorPath;
        // case-folded name (FoldCase) -> its spelling on disk; complete when listed
        std::unordered_map<std::string, Spelling> byLowerName;
    };
    // Where a name of a folder is asked for: relative to an open folder, or by the full path.
    struct Place {
        int dirFd = -1;
        std::string path;
    };

    // Keep what is known of a folder true after our own writes, without listing it again.
    void NoteAdded(const std::string& resolvedPath, unsigned char type);
    void NoteRemoved(const std::string& resolvedPath, bool wasFolder);

    struct ResolvedFolder {
        std::string path;
        Folder* folder;
    };

    // The caller holds mutex_. The answer for a folder that is not there holds until the next
    // call.
    const ResolvedFolder& Resolved(const std::string& folder) const;
    std::string ResolveFolder(const std::string& folder) const { return Resolved(folder).path; }
    std::string ResolveName(const std::string& resolvedFolder, Folder& folder,
                            const std::string& name) const;
    Folder& FolderAt(const std::string& resolvedFolder) const;
    void List(const std::string& resolvedFolder, Folder& folder) const;
    // The spelling on disk of a name in a listed folder; nullptr when it is absent.
    const Spelling* Find(const std::string& resolvedFolder, const Folder& folder,
                         const std::string& name, std::string& spelling) const;
    Place PlaceOf(const std::string& resolvedFolder, const Folder& folder,
                  const std::string& name) const;
    // Where the path's name is asked for; false when its folder's listing says it is absent.
    // `unlisted` tells that the name was not looked up in a listing (its folder has none).
    bool Locate(const std::string& path, Place& place, std::string& resolvedFolder,
                bool& unlisted) const;
    // What lies at the path, following links, with where it was asked for; false when nothing
    // does (or it cannot be told). Absent names of a listed folder cost no system call.
    bool Stat(const std::string& path, struct stat& info, Place& place) const;

    mutable std::mutex mutex_;
    mutable std::unordered_map<std::string, Folder> folders_;
    // A folder as asked for -> as it lies on disk, with what is known of it.
    mutable std::unordered_map<std::string, ResolvedFolder> resolvedFolders_;
    // What Resolved() answers for a folder that is not there, until its next call: an empty
    // listed folder.
    mutable ResolvedFolder missing_{};
    mutable Folder missingFolder_;
    mutable int openFolders_ = 0;
};

FileSystem::Impl::~Impl() {
    ForgetListings();
}

std::string FileSystem::Impl::Resolve(const std::string& path) const {
    if (path.empty()) return path;
    const std::lock_guard lock(mutex_);
    if (path.back() == kPathSeparator) return ResolveFolder(path);
    const ResolvedFolder& parent = Resolved(FolderOf(path));
    return parent.path +
           ResolveName(parent.path, *parent.folder, path.substr(path.rfind(kPathSeparator) + 1));
}

const FileSystem::Impl::ResolvedFolder& FileSystem::Impl::Resolved(
    const std::string& folder) const {
    if (const auto cached = resolvedFolders_.find(folder); cached != resolvedFolders_.end()) {
        return cached->second;
    }
    if (folder.size() <= 1) {
        return resolvedFolders_.try_emplace(folder, ResolvedFolder{folder, &FolderAt(folder)})
            .first->second;
    }
    const std::string parentPath = FolderOf(std::string_view(folder).substr(0, folder.size() - 1));
    const std::string name =
        folder.substr(parentPath.size(), folder.size() - 1 - parentPath.size());
    const ResolvedFolder& parent = Resolved(parentPath);
    Folder& above = *parent.folder;
    std::string resolved = parent.path + ResolveName(parent.path, above, name) + kPathSeparator;
    // A folder its listed parent does not hold is not there, and holds nothing either. It is
    // not remembered: a refresh asks for thousands of packages' folders that do not exist.
    if (above.listed && name != "." && name != ".." &&
        above.byLowerName.count(FoldCase(name)) == 0) {
        missingFolder_.listed = true;
        missing_.path = std::move(resolved);
        missing_.folder = &missingFolder_;
        return missing_;
    }
    Folder& made = FolderAt(resolved);
    return resolvedFolders_.try_emplace(folder, ResolvedFolder{std::move(resolved), &made})
        .first->second;
}

std::string FileSystem::Impl::ResolveName(const std::string& resolvedFolder, Folder& folder,
                                          const std::string& name) const {
    if (name == "." || name == "..") return name;
    if (!folder.listed) {
        struct stat info;
        const Place place = PlaceOf(resolvedFolder, folder, name);
        if (StatAt(place.dirFd, place.path, info, AT_SYMLINK_NOFOLLOW) == 0) return name;
        List(resolvedFolder, folder);
        if (!folder.listed) return name;
    }
    std::string spelling;
    return Find(resolvedFolder, folder, name, spelling) != nullptr ? spelling : name;
}

FileSystem::Impl::Folder& FileSystem::Impl::FolderAt(const std::string& resolvedFolder) const {
    return folders_[resolvedFolder];
}

void FileSystem::Impl::List(const std::string& resolvedFolder, Folder& folder) const {
    if (folder.listed || folder.unreadable) return;
    const int fd = ::open(resolvedFolder.empty() ? "." : resolvedFolder.c_str(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        folder.unreadable = true;
        return;
    }
    std::vector<char> buffer(kListingBuffer);
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            folder.byLowerName.clear();
            folder.unreadable = true;
            ::close(fd);
            return;
        }
        if (got == 0) break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += entry->d_reclen;
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            auto [slot, inserted] = folder.byLowerName.try_emplace(
                FoldCase(name), Spelling{name, false, entry->d_type});
            if (inserted) continue;
            // Several spellings of one name: take the smallest, so the choice never depends
            // on the order in which the folder happens to list them.
            slot->second.several = true;
            if (name < slot->second.name) slot->second = {name, true, entry->d_type};
        }
    }
    if (openFolders_ < kMaxOpenFolders) {
        folder.fd = fd;
        ++openFolders_;
    } else {
        ::close(fd);
    }
    folder.listed = true;
}

const FileSystem::Impl::Spelling* FileSystem::Impl::Find(const std::string& resolvedFolder,
                                                         const Folder& folder,
                                                         const std::string& name,
                                                         std::string& spelling) const {
    const auto found = folder.byLowerName.find(FoldCase(name));
    if (found == folder.byLowerName.end()) return nullptr;
    spelling = found->second.name;
    // Only one spelling is kept; when there are several, the exact one is asked for.
    if (found->second.several && spelling != name) {
        struct stat info;
        const Place place = PlaceOf(resolvedFolder, folder, name);
        if (StatAt(place.dirFd, place.path, info, AT_SYMLINK_NOFOLLOW) == 0) spelling = name;
    }
    return &found->second;
}

FileSystem::Impl::Place FileSystem::Impl::PlaceOf(const std::string& resolvedFolder,
                                                  const Folder& folder,
                                                  const std::string& name) const {
    if (folder.fd >= 0) return {folder.fd, name};
    if (!folder.anchored) {
        // Relative to an open folder a few levels up, which spares walking the whole path.
        folder.anchorFd = AT_FDCWD;
        folder.anchorPath = resolvedFolder;
        std::string above = resolvedFolder;
        for (int level = 0; level < 3 && above.size() > 1; ++level) {
            above = FolderOf(std::string_view(above).substr(0, above.size() - 1));
            const auto found = folders_.find(above);
            if (found != folders_.end() && found->second.fd >= 0) {
                folder.anchorFd = found->second.fd;
                folder.anchorPath = resolvedFolder.substr(above.size());
                break;
            }
        }
        folder.anchored = true;
    }
    return {folder.anchorFd, folder.anchorPath + name};
}

bool FileSystem::Impl::Locate(const std::string& path, Place& place, std::string& resolvedFolder,
                              bool& unlisted) const {
    const std::lock_guard lock(mutex_);
    const std::string parent = FolderOf(path);
    const std::string name = path.substr(parent.size());
    const ResolvedFolder& resolved = Resolved(parent);
    resolvedFolder = resolved.path;
    const Folder& folder = *resolved.folder;
    unlisted = !folder.listed;
    if (unlisted) {
        place = PlaceOf(resolvedFolder, folder, name);
        return true;
    }
    std::string spelling;
    if (Find(resolvedFolder, folder, name, spelling) == nullptr) return false;
    place = PlaceOf(resolvedFolder, folder, spelling);
    return true;
}

bool FileSystem::Impl::Stat(const std::string& path, struct stat& info, Place& place) const {
    std::string resolvedFolder;
    bool unlisted = false;
    if (!Locate(path, place, resolvedFolder, unlisted)) return false;
    if (StatAt(place.dirFd, place.path, info) == 0) return true;
    if (errno != ENOENT || !unlisted) return false;
    // Missing under the spelling asked for: the folder's listing tells the spelling on disk.
    {
        const std::lock_guard lock(mutex_);
        Folder& folder = FolderAt(resolvedFolder);
        List(resolvedFolder, folder);
        std::string spelling;
        if (!folder.listed ||
            Find(resolvedFolder, folder, path.substr(FolderOf(path).size()), spelling) == nullptr) {
            return false;
        }
        place = PlaceOf(resolvedFolder, folder, spelling);
    }
    return StatAt(place.dirFd, place.path, info) == 0;
}

bool FileSystem::Impl::FileExists(const std::string& path) const {
    struct stat info;
    Place place;
    return Stat(path, info, place) && S_ISREG(info.st_mode) &&
           MayAccess(info, place.dirFd, place.path, R_OK);
}

bool FileSystem::Impl::FolderExists(const std::string& path) const {
    struct stat info;
    Place place;
    return Stat(path.size() > 1 && path.back() == kPathSeparator ? path.substr(0, path.size() - 1)
                                                                 : path,
                info, place) &&
           S_ISDIR(info.st_mode);
}

bool FileSystem::Impl::Exists(const std::string& path) const {
    struct stat info;
    return ::lstat(Resolve(path).c_str(), &info) == 0;
}

Outcome FileSystem::Impl::RenameFolder(const std::string& from, const std::string& to) {
    const std::string source = Resolve(from);
    const bool moved = ::rename(source.c_str(), Resolve(to).c_str()) == 0;
    const int error = errno;
    ForgetListings();
    return moved ? Outcome() : Outcome::SystemError(source, error);
}

bool FileSystem::Impl::IsSymbolicLink(const std::string& path) const {
    const std::string leaf =
        path.size() > 1 && path.back() == kPathSeparator ? path.substr(0, path.size() - 1) : path;
    Place place;
    {
        const std::lock_guard lock(mutex_);
        const ResolvedFolder& parent = Resolved(FolderOf(leaf));
        const std::string& resolvedParent = parent.path;
        Folder& folder = *parent.folder;
        const std::string name =
            ResolveName(resolvedParent, folder, leaf.substr(leaf.rfind(kPathSeparator) + 1));
        if (folder.listed) {
            std::string spelling;
            const Spelling* found = Find(resolvedParent, folder, name, spelling);
            if (found == nullptr) return false;
            if (!found->several && found->type != DT_UNKNOWN) return found->type == DT_LNK;
        }
        place = PlaceOf(resolvedParent, folder, name);
    }
    struct stat info;
    return StatAt(place.dirFd, place.path, info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

Outcome FileSystem::Impl::DeleteFile(const std::string& path) {
    const std::string resolved = Resolve(path);
    struct stat info;
    if (::lstat(resolved.c_str(), &info) != 0) {
        return errno == ENOENT ? Outcome() : Outcome::SystemError(resolved, errno);
    }
    if (S_ISDIR(info.st_mode)) return Outcome::Failed(resolved, "is a folder, not a file");
    if (::unlink(resolved.c_str()) != 0) return Outcome::SystemError(resolved, errno);
    NoteRemoved(resolved, false);
    return {};
}

Outcome FileSystem::Impl::CreateFolder(const std::string& path, bool* created,
                                       FolderAccess access) {
    if (created != nullptr) *created = false;
    // Known by its name without the separator, as the folder's entry in its parent.
    std::string resolved = Resolve(path);
    while (resolved.size() > 1 && resolved.back() == kPathSeparator) resolved.pop_back();
    if (::mkdir(resolved.c_str(), access == FolderAccess::kOwnerOnly ? 0700 : 0777) != 0) {
        const int error = errno;
        struct stat info;
        if (error == EEXIST && ::stat(resolved.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return {};
        }
        return Outcome::SystemError(resolved, error);
    }
    NoteAdded(resolved, DT_DIR);
    {
        // Known as missing until now; others may put files into it from now on.
        const std::lock_guard lock(mutex_);
        Folder& made = FolderAt(resolved + kPathSeparator);
        made.listed = false;
        made.byLowerName.clear();
    }
    if (created != nullptr) *created = true;
    return {};
}

Outcome FileSystem::Impl::RemoveFolder(const std::string& path) {
    const std::string resolved = Resolve(path);
    if (::rmdir(resolved.c_str()) != 0) {
        const int error = errno;
        if (error == ENOTEMPTY || error == EEXIST || error == ENOENT) return {};
        return Outcome::SystemError(resolved, error);
    }
    NoteRemoved(resolved, true);
    return {};
}

Outcome FileSystem::Impl::RemoveStaleTemporaryFiles(const std::string& folder) {
    const std::string resolved = Resolve(folder);
    {
        // The listing, usually made by the scan before, tells whether there is anything to do.
        const std::lock_guard lock(mutex_);
        Folder& known = FolderAt(resolved);
        List(resolved, known);
        if (known.listed) {
            const std::string prefix = AsciiLower(kTemporaryPrefix);
            bool any = false;
            for (const auto& [lower, spelling] : known.byLowerName) {
                if (lower.starts_with(prefix)) {
                    any = true;
                    break;
                }
            }
            if (!any) return {};
        }
    }
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
            !S_ISREG(info.st_mode) ||
            !IsStaleTemporaryName(entry->d_name,
                                  static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                                      info.st_mtim.tv_nsec)) {
            continue;
        }
        if (::unlinkat(dirFd, entry->d_name, 0) != 0) {
            outcome.Add(resolved + entry->d_name, std::strerror(errno));
        } else {
            removed = true;
        }
    }
    if (removed) {
        const std::lock_guard lock(mutex_);
        Folder& known = FolderAt(resolved);
        known.listed = false;
        known.byLowerName.clear();
    }
    return outcome;
}

Outcome FileSystem::Impl::SyncFileSystemsOf(const std::vector<std::string>& folders) {
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

Outcome FileSystem::Impl::SyncFolder(const std::string& folder) {
    const std::string resolved = Resolve(folder);
    int fd = -1;
    {
        const std::lock_guard lock(mutex_);
        if (const auto known = folders_.find(resolved); known != folders_.end()) {
            fd = known->second.fd;
        }
    }
    const bool own = fd < 0;
    if (own) {
        fd = ::open(resolved.empty() ? "." : resolved.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return Outcome::SystemError(resolved, errno);
    }
    const int result = ::fsync(fd);
    const int error = errno;
    if (own) ::close(fd);
    // Some file systems cannot sync a folder at all; the renames are then as durable as they
    // can be made.
    if (result != 0 && error != EINVAL && error != EROFS) {
        return Outcome::SystemError(resolved, error);
    }
    return {};
}

Outcome FileSystem::Impl::ListFolder(const std::string& path,
                                     std::vector<FolderEntry>& entries) const {
    const std::string resolved = Resolve(path);
    const std::string folder = resolved.empty() ? std::string(".") : resolved;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return Outcome::SystemError(folder, errno);
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        // readdir tells the end from a failed read only by errno.
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) return Outcome::SystemError(folder, errno);
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            isFolder = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({name, isFolder});
    }
    return {};
}

void FileSystem::Impl::ForgetListings() {
    const std::lock_guard lock(mutex_);
    for (auto& [path, folder] : folders_) {
        if (folder.fd >= 0) ::close(folder.fd);
    }
    folders_.clear();
    resolvedFolders_.clear();
    openFolders_ = 0;
}

void FileSystem::Impl::NoteAdded(const std::string& resolvedPath, unsigned char type) {
    const std::lock_guard lock(mutex_);
    const std::string name = FileNameOf(resolvedPath);
    const auto known = folders_.find(FolderOf(resolvedPath));
    if (known == folders_.end() || !known->second.listed) return;
    auto [slot, inserted] =
        known->second.byLowerName.try_emplace(FoldCase(name), Spelling{name, false, type});
    if (inserted) return;
    if (slot->second.name == name) {
        slot->second.type = type;
        return;
    }
    slot->second.several = true;
    if (name < slot->second.name) slot->second = {name, true, type};
}

void FileSystem::Impl::NoteRemoved(const std::string& resolvedPath, bool wasFolder) {
    const std::lock_guard lock(mutex_);
    const std::string name = FileNameOf(resolvedPath);
    if (const auto known = folders_.find(FolderOf(resolvedPath)); known != folders_.end()) {
        Folder& folder = known->second;
        const auto found = folder.byLowerName.find(FoldCase(name));
        if (found != folder.byLowerName.end()) {
            if (!found->second.several) {
                folder.byLowerName.erase(found);
            } else {
                // Which other spellings remain is not known: listed anew when needed.
                folder.listed = false;
                folder.byLowerName.clear();
            }
        }
    }
    if (!wasFolder) return;
    // The folder and everything learned below it are gone; a folder made again under the
    // same name starts afresh.
    const std::string gone = resolvedPath + kPathSeparator;
    for (auto it = folders_.begin(); it != folders_.end();) {
        if (!it->first.starts_with(gone)) {
            ++it;
            continue;
        }
        if (it->second.fd >= 0) {
            ::close(it->second.fd);
            --openFolders_;
        }
        it = folders_.erase(it);
    }
    resolvedFolders_.clear();
}

FileReplacement::FileReplacement(FileSystem& fileSystem, const std::string& target)
    : fileSystem_(fileSystem), target_(fileSystem.Resolve(target)) {
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat info;
    FileSystem::Impl::Place place;
    // One stat of the target, and none when its folder's listing says it is new.
    if (fileSystem.impl_->Stat(target_, info, place)) {
        // Only a plain file we may write is replaced, as opening it for writing would allow.
        if (!S_ISREG(info.st_mode)) {
            openOutcome_ = Outcome::Failed(target_, "is not a regular file");
            return;
        }
        if (!MayAccess(info, place.dirFd, place.path, W_OK)) {
            openOutcome_ = Outcome::SystemError(target_, errno);
            return;
        }
        mode = info.st_mode & 07777;
    }
    // The target's mode at once: the mode given to open() loses only what the umask takes.
    for (int attempt = 0; fd_ < 0; ++attempt) {
        PickTemporaryPart(suffix_);
        fd_ = ::open(TemporaryPath().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
            suffix_[0] = '\0';
            openOutcome_ = Outcome::SystemError(target_, errno);
            return;
        }
    }
    if ((mode & CurrentUmask()) != 0 && ::fchmod(fd_, mode) != 0) writeError_ = errno;
}

std::string FileReplacement::TemporaryPath() const {
    return FolderOf(target_) + TemporaryFileName(suffix_);
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
    if (::rename(TemporaryPath().c_str(), target_.c_str()) != 0) {
        const Outcome failed = Outcome::SystemError(target_, errno);
        Discard();
        return failed;
    }
    suffix_[0] = '\0';
    fileSystem_.impl_->NoteAdded(target_, DT_REG);
    return {};
}

void FileReplacement::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (suffix_[0] != '\0') {
        ::unlink(TemporaryPath().c_str());
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
