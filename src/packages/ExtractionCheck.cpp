#include "packages/ExtractionCheck.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <map>
#include <optional>
#include <utility>

#include "packages/Archive.h"
#include "packages/PackagePlan.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

constexpr std::uint64_t kDeflateRatio = 1032;
constexpr std::uint64_t kDeflateSlack = 1024;
// A file takes whole blocks; count each one as if it ended on a fresh one.
constexpr std::uint64_t kBlockSize = 4096;

// The target's folder, or the nearest folder above it that exists, with what stat says of it:
// a folder the plan creates lands on the file system of its parent. Nothing when no folder of
// the path exists.
std::optional<std::pair<std::string, struct stat>> ExistingFolderOf(const std::string& target,
                                                                    const FileSystem& fileSystem) {
    std::string folder = FolderOf(fileSystem.Resolve(target));
    struct stat info;
    for (;;) {
        const std::string probe = folder.empty() ? std::string(".") : folder;
        if (::stat(probe.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return std::make_pair(probe, info);
        }
        if (folder.empty()) return std::nullopt;
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
}

bool ClaimsTheImpossible(const ZipEntryRecord& record) {
    return record.size > MaxInflatedSize(record.compressedSize);
}

}  // namespace

std::optional<std::uint64_t> FreeSpaceOf(const std::string& folder) {
    struct statvfs info;
    if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

std::uint64_t MaxInflatedSize(std::uint64_t compressedSize) {
    return compressedSize * kDeflateRatio + kDeflateSlack;
}

Outcome CanExtractPlan(const Archive& archive, const PackagePlan& plan,
                       const FileSystem& fileSystem, const FreeSpaceProbe& freeSpace) {
    struct Device {
        std::string folder;
        std::uint64_t needed = 0;
    };
    std::map<dev_t, Device> devices;
    // Targets share folders; each folder is looked up once.
    std::map<std::string, std::optional<std::pair<std::string, struct stat>>> folders;
    for (const PackagePlan::Step& step : plan.Steps()) {
        if (step.kind != PackagePlan::Step::Kind::File) continue;
        const ZipEntryRecord* record = archive.RecordFor(step.entry);
        // An entry that is not there writes nothing.
        if (record == nullptr) continue;
        if (ClaimsTheImpossible(*record)) {
            return Outcome::Failed(
                step.entry, "claims " + std::to_string(record->size) + " bytes, more than its " +
                                std::to_string(record->compressedSize) + " packed bytes can hold");
        }
        auto [slot, inserted] = folders.try_emplace(FolderOf(step.target));
        if (inserted) slot->second = ExistingFolderOf(step.target, fileSystem);
        const auto& folder = slot->second;
        if (!folder) continue;
        Device& device = devices[folder->second.st_dev];
        if (device.folder.empty()) device.folder = folder->first;
        device.needed += (record->size + kBlockSize - 1) / kBlockSize * kBlockSize;
    }
    for (const auto& [id, device] : devices) {
        const std::optional<std::uint64_t> available = freeSpace(device.folder);
        if (available && device.needed > *available) {
            return Outcome::Failed("the file system of " + device.folder,
                                   "has too little free space: " + std::to_string(device.needed) +
                                       " bytes needed, " + std::to_string(*available) +
                                       " bytes free");
        }
    }
    return {};
}

}  // namespace wendmoor
