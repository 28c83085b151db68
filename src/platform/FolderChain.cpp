#include "platform/FolderChain.h"

#include "platform/Path.h"

namespace wendmoor {

Outcome CreateFolderChain(FileSystem& fileSystem, const std::string& existing,
                          const std::string& folder, std::set<std::string>* changedParents,
                          FileSystem::FolderAccess access) {
    // The root ("/", "\\server") is never made.
    for (std::size_t end = folder.find(kPathSeparator, existing.size() + 1);
         end != std::string::npos; end = folder.find(kPathSeparator, end + 1)) {
        const std::string path = folder.substr(0, end);
        if (fileSystem.FolderExists(path)) continue;
        bool created = false;
        if (Outcome made = fileSystem.CreateFolder(path, &created, access); !made.Ok()) return made;
        if (created && changedParents != nullptr) changedParents->insert(FolderOf(path));
    }
    return {};
}

}  // namespace wendmoor
