#include "packages/PackageAdder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "packages/Archive.h"
#include "packages/Games.h"
#include "platform/FileSystem.h"
#include "platform/PackageLock.h"
#include "platform/Path.h"
#include "platform/ReadOnlyFile.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

constexpr std::size_t kChunk = 1 << 20;
// "Troy (2).zip" up to this; past it something is wrong with the folder, not the name.
constexpr int kMaxNumber = 999;

// Whether the name is taken in the folder by anything at all, in any letter case.
bool IsTaken(const FileSystem& fileSystem, const std::string& folder, const std::string& name) {
    return fileSystem.Exists(folder + name);
}

// Both files hold the same bytes; false also when either cannot be read to its end. The same
// file under two names is told by the file layer's identity, which both systems fill.
bool SameBytes(const ReadOnlyFile& file, const std::string& other) {
    ReadOnlyFile existing;
    if (!existing.Open(other).Ok()) return false;
    if (file.Identity() == existing.Identity()) return true;
    if (file.Size() != existing.Size()) return false;
    std::vector<char> bufferA(kChunk), bufferB(kChunk);
    for (std::uint64_t at = 0; at < file.Size(); at += kChunk) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, file.Size() - at));
        std::size_t gotA = 0, gotB = 0;
        if (!file.ReadAt(at, bufferA.data(), want, gotA).Ok() ||
            !existing.ReadAt(at, bufferB.data(), want, gotB).Ok() || gotA != want || gotB != want ||
            std::memcmp(bufferA.data(), bufferB.data(), want) != 0) {
            return false;
        }
    }
    return true;
}

AddResult Result(AddResult::Outcome outcome, std::string name, std::string reason = {}) {
    return {outcome, std::move(name), std::move(reason)};
}

// Copies the file to `target` through a temporary file beside it.
bool CopyInto(FileSystem& fileSystem, const ReadOnlyFile& source, const std::string& target,
              std::string& reason) {
    FileReplacement replacement(fileSystem, target);
    if (!replacement.IsOpen()) {
        reason = "cannot be written into the missions folder " + FolderOf(target);
        return false;
    }
    std::vector<char> buffer(kChunk);
    for (std::uint64_t at = 0;; at += kChunk) {
        std::size_t got = 0;
        if (const Outcome read = source.ReadAt(at, buffer.data(), buffer.size(), got); !read.Ok()) {
            reason = "cannot be read: " + read.Failures().front().reason;
            return false;
        }
        if (got == 0) break;
        if (!replacement.Write(buffer.data(), got)) {
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
    ReadOnlyFile source;
    if (!source.Open(file).Ok())
        return Result(Outcome::Failed, name, "is no file that can be read");

    // The game's own classifier, as the scan will use it to list the file.
    if (!ReadStoredNames(file).isArchive) {
        return Result(Outcome::Refused, name, "is no ZIP archive that can be read");
    }
    if (!game.contentOf(file, nullptr)) {
        return Result(Outcome::Refused, name,
                      std::string("is no ") + game.name + " package: it holds nothing " +
                          game.name + " installs");
    }

    std::string target = name;
    if (IsTaken(fileSystem, missions, name)) {
        const std::string existing = fileSystem.Resolve(missions + name);
        if (SameBytes(source, existing)) {
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
    if (!CopyInto(fileSystem, source, missions + target, reason)) {
        return Result(Outcome::Failed, name, reason);
    }
    return Result(Outcome::Added, target);
}

}  // namespace wendmoor
