#include "packages/PackageAdder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archive/Archive.h"
#include "games/Games.h"
#include "platform/FileSystem.h"
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

// The name for the n-th copy of a file: " (n)" before the extension, "Troy (2).zip"; at the end
// for a name without one.
std::string NumberedName(const std::string& name, int number) {
    const std::string suffix = " (" + std::to_string(number) + ")";
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

// Where the file goes in the missions folder, as the folder is now.
struct Placement {
    std::string sameBytes;  // a file there with the file's bytes: nothing to copy
    std::string existing;   // the file of the same name with other bytes, when there is one
    std::string target;     // the free name to copy to
};

Outcome Place(FileSystem& fileSystem, const ReadOnlyFile& source, const std::string& missions,
              const std::string& name, Placement& placement) {
    placement = {};
    fileSystem.ForgetListings();  // another process may have added files since we looked
    if (IsTaken(fileSystem, missions, name)) {
        placement.existing = FileNameOf(fileSystem.Resolve(missions + name));
        if (SameBytes(source, missions + placement.existing)) {
            placement.sameBytes = placement.existing;
            return {};
        }
    }
    // The same download added before under another name ("Troy (2).zip"), or kept beside
    // another file once already.
    std::vector<FileSystem::FolderEntry> entries;
    if (Outcome listed = fileSystem.ListFolder(missions, entries); !listed.Ok()) return listed;
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const FileSystem::FolderEntry& entry : entries) {
        if (entry.isFolder || entry.name.starts_with(kTemporaryPrefix)) continue;
        if (SameBytes(source, missions + entry.name)) {
            placement.sameBytes = entry.name;
            return {};
        }
    }
    placement.target = name;
    for (int number = 2; IsTaken(fileSystem, missions, placement.target); ++number) {
        if (number > kMaxNumber) {
            return Outcome::Failed(name, "too many files of that name are in " + missions);
        }
        placement.target = NumberedName(name, number);
    }
    return {};
}

// What kept the copy from being written, said of the file added.
Outcome NotWritten(const std::string& file, const std::string& missions, const Outcome& why) {
    const std::string reason =
        why.Failures().empty() ? std::string("unknown reason") : why.Failures().front().reason;
    return Outcome::Failed(
        file, "cannot be written into the missions folder " + missions + ": " + reason);
}

// Copies the file to `target` through a temporary file beside it.
Outcome CopyInto(FileSystem& fileSystem, const ReadOnlyFile& source, const std::string& file,
                 const std::string& missions, const std::string& target) {
    FileReplacement replacement(fileSystem, missions + target);
    if (!replacement.IsOpen()) return NotWritten(file, missions, replacement.OpenOutcome());
    std::vector<char> buffer(kChunk);
    for (std::uint64_t at = 0;; at += kChunk) {
        std::size_t got = 0;
        if (Outcome read = source.ReadAt(at, buffer.data(), buffer.size(), got); !read.Ok()) {
            return read;
        }
        if (got == 0) break;
        if (!replacement.Write(buffer.data(), got)) {
            return NotWritten(file, missions, replacement.Finish());
        }
    }
    if (Outcome committed = replacement.Commit(); !committed.Ok()) {
        return NotWritten(file, missions, committed);
    }
    return {};
}

AddResult Failed(Outcome outcome) {
    AddResult result;
    result.outcome = std::move(outcome);
    return result;
}

AddResult Done(AddResult::Done done, std::string name, Outcome outcome = {}) {
    AddResult result;
    result.outcome = std::move(outcome);
    result.done = done;
    result.name = std::move(name);
    return result;
}

}  // namespace

// One add, step by step: the checks of the file, then under the missions folder's lock the look
// at the folder, the question (with the lock let go and taken again), the copy and its flush.
// Kept in one piece so where the lock is held, and where not, stays plain to see.
AddResult AddPackageFile(FileSystem& fileSystem, const GameDescription& game,
                         const GamePaths& paths, const std::string& file,
                         const KeepBothQuestion& keepBoth,
                         const PackageLock::KeepWaiting& keepWaiting) {
    const std::string name = FileNameOf(file);
    const std::string& configured = paths.*game.missions;
    if (configured.empty()) {
        return Failed(Outcome::Failed(file, std::string(game.name) + " has no missions folder"));
    }
    // The next command writing there would take it for a temporary file a killed one left.
    if (name.starts_with(kTemporaryPrefix)) {
        return Failed(Outcome::Failed(file, std::string("its name starts with ") +
                                                kTemporaryPrefix +
                                                ", which Wendmoor keeps for its temporary files"));
    }
    const std::string missions = fileSystem.Resolve(configured);
    if (!fileSystem.FolderExists(missions)) {
        return Failed(Outcome::Failed(file, "the missions folder " + missions + " does not exist"));
    }
    ReadOnlyFile source;
    if (Outcome opened = source.Open(file); !opened.Ok()) return Failed(std::move(opened));

    // The game's own classifier, as the scan will use it to list the file.
    const StoredNames stored = ReadStoredNames(file);
    if (!stored.unreadable.Ok()) return Failed(stored.unreadable);
    if (!stored.isArchive)
        return Failed(Outcome::Failed(file, "is not a ZIP archive that can be read"));
    if (!game.contentOf(file, nullptr)) {
        return Failed(Outcome::Failed(file, std::string("is not a ") + game.name +
                                                " package: it holds nothing " + game.name +
                                                " installs"));
    }

    // Held from the look at the folder to the rename, so that what the look found still holds.
    PackageLock lock;
    if (Outcome locked = lock.Acquire(PackageLock::Mode::Exclusive, {missions}, keepWaiting);
        !locked.Ok()) {
        return Failed(std::move(locked));
    }
    Outcome swept = fileSystem.RemoveStaleTemporaryFiles(missions);
    Placement placement;
    if (Outcome placed = Place(fileSystem, source, missions, name, placement); !placed.Ok()) {
        return Failed(std::move(placed));
    }
    if (placement.target != name && placement.sameBytes.empty()) {
        // The question may stand open for long, and no other command shall wait for it: the
        // folder is looked at anew afterwards, and only a free name is ever written.
        lock.Release();
        if (!keepBoth || !keepBoth(placement.existing, placement.target)) {
            return Done(AddResult::Done::Nothing, {}, std::move(swept));
        }
        if (Outcome locked = lock.Acquire(PackageLock::Mode::Exclusive, {missions}, keepWaiting);
            !locked.Ok()) {
            return Failed(std::move(locked));
        }
        if (Outcome placed = Place(fileSystem, source, missions, name, placement); !placed.Ok()) {
            return Failed(std::move(placed));
        }
    }
    if (!placement.sameBytes.empty()) {
        return Done(AddResult::Done::AlreadyThere, placement.sameBytes, std::move(swept));
    }
    if (Outcome copied = CopyInto(fileSystem, source, file, missions, placement.target);
        !copied.Ok()) {
        return Failed(std::move(copied));
    }
    // The new name must outlast a power cut as the bytes do.
    if (Outcome synced = fileSystem.SyncFolder(missions); !synced.Ok()) {
        swept.Merge(NotWritten(file, missions, synced));
    }
    return Done(AddResult::Done::Copied, placement.target, std::move(swept));
}

}  // namespace wendmoor
