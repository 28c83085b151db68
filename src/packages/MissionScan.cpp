#include "packages/MissionScan.h"

#include <cerrno>
#include <vector>

#include "platform/FileSystem.h"

namespace wendmoor {

Outcome ScanMissionsFolder(const std::string& missionsFolder, GameEnvironment& environment,
                           PackageLists& lists, const PlanForArchive& planFor) {
    FileSystem& fileSystem = environment.fileSystem;
    // Other programs may have changed the folders since the last refresh.
    fileSystem.ForgetListings();
    std::vector<FileSystem::FolderEntry> entries;
    if (!fileSystem.EnterFolder(missionsFolder) ||
        !fileSystem.ListFolder(missionsFolder, entries)) {
        return Outcome::SystemError("the missions folder " + missionsFolder, errno);
    }
    const std::string folder = fileSystem.Resolve(missionsFolder);

    for (const FileSystem::FolderEntry& entry : entries) {
        // A package that another command is adding is not one yet.
        if (entry.isFolder || entry.name.starts_with(kTemporaryPrefix)) continue;
        const std::optional<PackagePlan> plan = planFor(folder + entry.name);
        if (!plan) continue;
        if (IsPlanInstalled(*plan, fileSystem)) {
            lists.installed.push_back(entry.name);
            AddPlanRefs(*plan, environment.fileRefs);
        } else {
            lists.available.push_back(entry.name);
        }
    }
    return {};
}

}  // namespace wendmoor
