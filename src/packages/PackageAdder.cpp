#include "packages/PackageAdder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "packages/Archive.h"
#include "packages/Games.h"
#include "platform/FileSystem.h"
#include "platform/PackageLock.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

constexpr std::size_t kChunk = 1 << 20;
// "Troy (2).zip" up to this; past it something is wrong with the folder, not the name.
constexpr int kMaxNumber = 999;

// An open file descriptor, closed on every way out.
class ReadFile {
  public:
    explicit ReadFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), error_(fd_ < 0 ? errno : 0) {}
    ~ReadFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Error() const { return error_; }
    // Up to `size` bytes; 0 at the end, -1 on an error.
    ssize_t Read(char* buffer, std::size_t size) {
        ssize_t got;
        do {
            got = ::read(fd_, buffer, size);
        } while (got < 0 && errno == EINTR);
        if (got < 0) error_ = errno;
        return got;
    }

  private:
    int fd_;
    int error_;
};

bool IsRegularFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Whether the name is taken in the folder by anything at all, in any letter case.
bool IsTaken(const FileSystem& fileSystem, const std::string& folder, const std::string& name) {
    struct stat info;
    return ::lstat(fileSystem.Resolve(folder + name).c_str(), &info) == 0;
}

// Both files hold the same bytes; false also when either cannot be read to its end.
bool SameBytes(const std::string& a, const std::string& b) {
    struct stat infoA, infoB;
    if (::stat(a.c_str(), &infoA) != 0 || ::stat(b.c_str(), &infoB) != 0) return false;
    if (infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino) return true;
    if (infoA.st_size != infoB.st_size) return false;
    ReadFile fileA(a), fileB(b);
    if (!fileA.IsOpen() || !fileB.IsOpen()) return false;
    std::vector<char> bufferA(kChunk), bufferB(kChunk);
    for (;;) {
        const ssize_t gotA = fileA.Read(bufferA.data(), kChunk);
        if (gotA < 0) return false;
        std::size_t gotB = 0;
        while (gotB < static_cast<std::size_t>(gotA)) {
            const ssize_t more = fileB.Read(bufferB.data() + gotB, gotA - gotB);
            if (more <= 0) return false;
            gotB += static_cast<std::size_t>(more);
        }
        if (gotA == 0) return fileB.Read(bufferB.data(), 1) == 0;
        if (std::memcmp(bufferA.data(), bufferB.data(), gotB) != 0) return false;
    }
}

AddResult Result(AddResult::Outcome outcome, std::string name, std::string reason = {}) {
    return {outcome, std::move(name), std::move(reason)};
}

// Copies the file to `target` through a temporary file beside it.
bool CopyInto(FileSystem& fileSystem, const std::string& file, const std::string& target,
              std::string& reason) {
    ReadFile source(file);
    if (!source.IsOpen()) {
        reason = std::string("cannot be read: ") + std::strerror(source.Error());
        return false;
    }
    FileReplacement replacement(fileSystem, target);
    if (!replacement.IsOpen()) {
        reason = "cannot be written into the missions folder " + FolderOf(target);
        return false;
    }
    std::vector<char> buffer(kChunk);
    for (;;) {
        const ssize_t got = source.Read(buffer.data(), buffer.size());
        if (got < 0) {
            reason = std::string("cannot be read: ") + std::strerror(source.Error());
            return false;
        }
        if (got == 0) break;
        if (!replacement.Write(buffer.data(), static_cast<std::size_t>(got))) {
            reason = "cannot be written into the missions folder " + FolderOf(target);
            return false;
        }
    }
    if (const auto committed = replacement.Commit(); !committed.Ok()) {
        reason = "cannot be written into the missions folder " + FolderOf(target) + ": " +
                 committed.Failures().front().reason;
        return false;
    }
    return true;
}

// The name for the n-th copy of a file: " (n)" before the extension, "Troy (2).zip"; at the end
// for a name without one.
std::string NumberedName(const std::string& name, int number) {
    const std::string suffix = " (" + std::to_string(number) + ")";
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

}  // namespace

AddResult AddPackageFile(FileSystem& fileSystem, const GameDescription& game,
                         const GamePaths& paths, const std::string& file,
                         const KeepBothQuestion& keepBoth) {
    using Outcome = AddResult::Outcome;
    const std::string name = FileNameOf(file);
    const std::string& configured = paths.*game.missions;
    if (configured.empty()) {
        return Result(Outcome::Failed, name, std::string(game.name) + " has no missions folder");
    }
    const std::string missions = fileSystem.Resolve(configured);
    if (!fileSystem.FolderExists(missions)) {
        return Result(Outcome::Failed, name, "the missions folder " + missions + " does not exist");
    }
    if (!IsRegularFile(file)) return Result(Outcome::Failed, name, "is no file that can be read");

    // The game's own classifier, as the scan will use it to list the file.
    std::vector<std::string> entries;
    if (!ReadStoredNames(file, entries)) {
        return Result(Outcome::Refused, name, "is no ZIP archive that can be read");
    }
    if (!game.contentOf(file)) {
        return Result(Outcome::Refused, name,
                      std::string("is no ") + game.name + " package: it holds nothing " +
                          game.name + " installs");
    }

    std::string target = name;
    if (IsTaken(fileSystem, missions, name)) {
        const std::string existing = fileSystem.Resolve(missions + name);
        if (SameBytes(file, existing)) {
            return Result(Outcome::AlreadyThere, FileNameOf(existing));
        }
        int number = 2;
        while (number <= kMaxNumber && IsTaken(fileSystem, missions, NumberedName(name, number))) {
            ++number;
        }
        if (number > kMaxNumber) {
            return Result(Outcome::Failed, name, "too many files of that name are there already");
        }
        target = NumberedName(name, number);
        if (!keepBoth || !keepBoth(FileNameOf(existing), target)) {
            return Result(Outcome::Skipped, name);
        }
    }

    // The question above may have stood open for long; another Wendmoor process may have added
    // a file of that name since. The lock holds off the others from here to the rename.
    PackageLock lock;
    if (const auto locked = lock.Acquire(PackageLock::Mode::Exclusive, {}); !locked.Ok()) {
        return Result(Outcome::Failed, name, locked.Lines().front());
    }
    (void)fileSystem.RemoveStaleTemporaryFiles(missions);
    fileSystem.ForgetListings();
    if (IsTaken(fileSystem, missions, target)) {
        return Result(Outcome::Failed, name, target + " appeared in the missions folder meanwhile");
    }
    std::string reason;
    if (!CopyInto(fileSystem, file, missions + target, reason)) {
        return Result(Outcome::Failed, name, reason);
    }
    return Result(Outcome::Added, target);
}

}  // namespace wendmoor
