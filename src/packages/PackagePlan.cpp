#include "packages/PackagePlan.h"

#include "packages/Archive.h"
#include "packages/ExtractionCheck.h"
#include "packages/FileRefCounts.h"
#include "packages/StoredName.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

std::string PackagePlan::MakeFolder(const std::string& parent, const std::string& name) {
    // An empty name means the parent itself: files go there, but the parent is never created.
    if (name.empty()) return parent;
    if (!IsSafeFileName(name)) return {};
    steps_.push_back({Step::Kind::MakeFolder, {}, parent + name, false});
    return parent + name + kPathSeparator;
}

void PackagePlan::RemoveFolder(const std::string& parent, const std::string& name) {
    // Only a folder of the package's own goes, never the parent it was made in.
    if (name.empty() || !IsSafeFileName(name)) return;
    steps_.push_back({Step::Kind::RemoveFolder, {}, parent + name, false});
}

void PackagePlan::File(const std::string& folder, const std::string& name, bool counted) {
    if (folder.empty() || !IsSafeFileName(name)) return;
    steps_.push_back({Step::Kind::File, name, folder + name, counted});
}

bool IsPlanInstalled(const PackagePlan& plan, const FileSystem& fileSystem) {
    for (const PackagePlan::Step& step : plan.Steps()) {
        if (step.kind == PackagePlan::Step::Kind::File && !FileExists(step.target, fileSystem)) {
            return false;
        }
    }
    return true;
}

void AddPlanRefs(const PackagePlan& plan, FileRefCounts& fileRefs) {
    for (const PackagePlan::Step& step : plan.Steps()) {
        if (step.kind == PackagePlan::Step::Kind::File && step.counted) {
            fileRefs.AddFileRef(step.target);
        }
    }
}

void InstallPlan(Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                 FileRefCounts& fileRefs) {
    for (const PackagePlan::Step& step : plan.Steps()) {
        switch (step.kind) {
            case PackagePlan::Step::Kind::MakeFolder:
                fileSystem.CreateFolder(step.target);
                break;
            case PackagePlan::Step::Kind::File:
                ExtractEntry(archive, step.entry, step.target, fileSystem);
                if (step.counted) fileRefs.AddFileRef(step.target);
                break;
            case PackagePlan::Step::Kind::RemoveFolder:
                break;
        }
    }
}

void DeinstallPlan(const PackagePlan& plan, FileSystem& fileSystem, FileRefCounts& fileRefs) {
    for (const PackagePlan::Step& step : plan.Steps()) {
        switch (step.kind) {
            case PackagePlan::Step::Kind::MakeFolder:
                break;
            case PackagePlan::Step::Kind::File:
                if (step.counted) {
                    fileRefs.ReleaseFileRef(step.target);
                } else {
                    fileSystem.DeleteFile(step.target);
                }
                break;
            case PackagePlan::Step::Kind::RemoveFolder:
                fileSystem.RemoveFolder(step.target);
                break;
        }
    }
}

void ApplyPackagePlan(const std::string& archivePath, const PackagePlan& plan,
                      GameEnvironment& environment, bool install) {
    const std::unique_ptr<Archive> archive = Archive::Open(archivePath);
    if (!archive) return;
    if (install) {
        if (!CanExtractPlan(*archive, plan, environment.fileSystem)) return;
        InstallPlan(*archive, plan, environment.fileSystem, environment.fileRefs);
    } else {
        DeinstallPlan(plan, environment.fileSystem, environment.fileRefs);
    }
}

}  // namespace wendmoor
