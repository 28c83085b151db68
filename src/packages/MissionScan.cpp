#include "packages/MissionScan.h"

#include <vector>

#include "platform/FileSystem.h"

namespace wendmoor {

void ScanMissionsFolder(const std::string& missionsFolder, GameEnvironment& environment,
                        PackageLists& lists, const PlanForArchive& planFor) {
    FileSystem& fileSystem = environment.fileSystem;
    // Other programs may have changed the folders since the last refresh.
    fileSystem.ForgetListings();
    if (!fileSystem.EnterFolder(missionsFolder)) return;
    std::vector<FileSystem::FolderEntry> entries;
    if (!fileSystem.ListFolder(missionsFolder, entries)) return;
    const std::string folder = fileSystem.Resolve(missionsFolder);

    for (const FileSystem::FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        const std::optional<PackagePlan> plan = planFor(folder + entry.name);
        if (!plan) continue;
        if (IsPlanInstalled(*plan, fileSystem)) {
            lists.installed.push_back(entry.name);
            AddPlanRefs(*plan, environment.fileRefs);
        } else {
            lists.available.push_back(entry.name);
        }
    }
}

}  // namespace wendmoor
