#include "packages/MissionScan.h"

#include <vector>

#include "games/Games.h"
#include "packages/FileRefCounts.h"
#include "packages/PlanOnDisk.h"
#include "platform/FileSystem.h"
#include "platform/ParallelFor.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

// What the scan learned of one file of the missions folder.
struct Finding {
    enum class Kind : unsigned char { NoPackage, Unreadable, Available, Installed };
    Kind kind = Kind::NoPackage;
    Outcome unreadable;
    // An installed package's counted files, whose references it holds.
    std::vector<std::string> counted;
};

Finding Examine(const std::string& archivePath, const FileSystem& fileSystem,
                const PlanForArchive& planFor) {
    Finding finding;
    const std::optional<PackagePlan> plan = planFor(archivePath, &finding.unreadable);
    if (!plan) {
        if (!finding.unreadable.Ok()) finding.kind = Finding::Kind::Unreadable;
        return finding;
    }
    if (!IsPlanInstalled(*plan, fileSystem)) {
        finding.kind = Finding::Kind::Available;
        return finding;
    }
    finding.kind = Finding::Kind::Installed;
    for (const PackagePlan::Step& step : plan->Steps()) {
        if (step.kind == PackagePlan::Step::Kind::File && step.counted) {
            finding.counted.push_back(step.target);
        }
    }
    return finding;
}

}  // namespace

Outcome ScanMissionsFolder(const std::string& missionsFolder, PackageCommandContext& context,
                           PackageLists& lists, const PlanForArchive& planFor) {
    FileSystem& fileSystem = context.fileSystem;
    // Other programs may have changed the folders since the last refresh.
    fileSystem.ForgetListings();
    std::vector<FileSystem::FolderEntry> entries;
    if (Outcome listed = fileSystem.ListFolder(missionsFolder, entries); !listed.Ok()) {
        return Outcome::Failed("The missions folder " + missionsFolder,
                               listed.Failures().front().reason);
    }
    const std::string folder = fileSystem.Resolve(missionsFolder);

    std::vector<const FileSystem::FolderEntry*> candidates;
    for (const FileSystem::FolderEntry& entry : entries) {
        // A package that another command is adding is not one yet.
        if (entry.isFolder || entry.name.starts_with(kTemporaryPrefix)) continue;
        candidates.push_back(&entry);
    }
    // Reading the archives and testing their targets is most of a refresh, and each package
    // is examined on its own; the lists and references are then added in the folder's order,
    // as one thread would have.
    std::vector<Finding> findings(candidates.size());
    ParallelFor(candidates.size(), RefreshThreads(), [&](std::size_t index) {
        findings[index] = Examine(folder + candidates[index]->name, fileSystem, planFor);
    });
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        Finding& finding = findings[index];
        if (finding.kind == Finding::Kind::Installed) {
            lists.installed.push_back(candidates[index]->name);
            for (std::string& target : finding.counted) {
                context.fileRefs.AddFileRef(std::move(target));
            }
        } else if (finding.kind == Finding::Kind::Available) {
            lists.available.push_back(candidates[index]->name);
        } else if (finding.kind == Finding::Kind::Unreadable) {
            // Named by its entry in the list, as the player knows it; the reason is the system's.
            for (const Outcome::Failure& failure : finding.unreadable.Failures()) {
                lists.unreadable.Add(candidates[index]->name, failure.reason);
            }
        }
        finding = {};
    }
    return {};
}

Outcome ScanGameMissions(const GameDescription& game, PackageCommandContext& context,
                         PackageLists& lists) {
    const GamePaths& paths = context.paths;
    return ScanMissionsFolder(paths.*game.missions, context, lists,
                              [&](const std::string& archivePath, Outcome* unreadable) {
                                  return game.planFor(paths, archivePath, unreadable);
                              });
}

}  // namespace wendmoor
