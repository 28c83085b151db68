#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/DiskSpace.h"
#include "platform/Outcome.h"

namespace wendmoor {

class Archive;
class FileSystem;
class PackagePlan;

// The bytes free for us on the file system that holds an existing folder; nullopt when that
// cannot be told. FreeSpaceOf (platform/DiskSpace.h) asks the system.
using FreeSpaceProbe = std::function<std::optional<std::uint64_t>(const std::string& folder)>;

// The most bytes that `compressedSize` bytes of deflate data can expand to: deflate codes at
// most 258 bytes in one bit pair, roughly 1032 to one, plus a little for the stream's ends.
std::uint64_t MaxInflatedSize(std::uint64_t compressedSize);

// Whether every file the plan extracts can be written whole before anything is written: no
// entry claims more bytes than its compressed data can expand to, and the declared sizes of
// the entries fit into the free space of the file system of each target. A plan that fails
// this is refused whole, so a hostile or oversized archive never fills a disk halfway; the
// outcome names the entry, or the file system with the bytes needed and free.
Outcome CanExtractPlan(const Archive& archive, const PackagePlan& plan,
                       const FileSystem& fileSystem, const FreeSpaceProbe& freeSpace = FreeSpaceOf);

}  // namespace wendmoor
