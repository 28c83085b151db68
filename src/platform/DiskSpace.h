#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wendmoor {

// The bytes free for this user on the file system that holds an existing folder; nothing when
// that cannot be told.
std::optional<std::uint64_t> FreeSpaceOf(const std::string& folder);

// The file system that holds an existing folder, as a number that every folder on it shares;
// nothing when the path is no folder.
std::optional<std::uint64_t> FileSystemOf(const std::string& folder);

}  // namespace wendmoor
