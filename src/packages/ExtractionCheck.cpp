#include "packages/ExtractionCheck.h"

#include <map>
#include <optional>
#include <utility>

#include "archive/Archive.h"
#include "games/PackagePlan.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

constexpr std::uint64_t kDeflateRatio = 1032;
constexpr std::uint64_t kDeflateSlack = 1024;
// A file takes whole blocks; count each one as if it ended on a fresh one.
constexpr std::uint64_t kBlockSize = 4096;

// The target's folder, or the nearest folder above it that exists, with the file system it lies
// on: a folder the plan creates lands on the file system of its parent. Nothing when no folder
// of the path exists.
std::optional<std::pair<std::string, std::uint64_t>> ExistingFolderOf(
    const std::string& target, const FileSystem& fileSystem) {
    std::string folder = FolderOf(fileSystem.Resolve(target));
    for (;;) {
        const std::string probe = folder.empty() ? std::string(".") : folder;
        if (const std::optional<std::uint64_t> device = FileSystemOf(probe)) {
            return std::make_pair(probe, *device);
        }
        if (folder.empty()) return std::nullopt;
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
}

bool ClaimsTheImpossible(const ZipEntryRecord& record) {
    return record.size > MaxInflatedSize(record.compressedSize);
}

}  // namespace

std::uint64_t MaxInflatedSize(std::uint64_t compressedSize) {
    return compressedSize * kDeflateRatio + kDeflateSlack;
}

Outcome CanExtractPlan(const Archive& archive, const PackagePlan& plan,
                       const FileSystem& fileSystem, const FreeSpaceProbe& freeSpace) {
    struct Device {
        std::string folder;
        std::uint64_t needed = 0;
    };
    std::map<std::uint64_t, Device> devices;
    // Targets share folders; each folder is looked up once.
    std::map<std::string, std::optional<std::pair<std::string, std::uint64_t>>> folders;
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
        Device& device = devices[folder->second];
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
