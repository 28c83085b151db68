#pragma once

#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace wendmoor {

// Creates the folder (its path ends with the separator) and every missing folder above it,
// below `existing`, a folder known to be there (empty: from the root on). The parents of the
// folders it made go into `changedParents`: their new entries are durable only once those are
// synced.
Outcome CreateFolderChain(FileSystem& fileSystem, const std::string& existing,
                          const std::string& folder,
                          std::set<std::string>* changedParents = nullptr,
                          FileSystem::FolderAccess access = FileSystem::FolderAccess::kEveryone);

}  // namespace wendmoor
