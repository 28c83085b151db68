#pragma once

#include <string>
#include <vector>

#include "packages/GameEnvironment.h"

namespace wendmoor {

class Archive;
class FileSystem;
class FileRefCounts;

// The ordered steps that install one package, in the order its game installs them. A deinstall
// runs the same steps, and the scan tests the same targets, so the three always agree.
//
// Every step names its folder and the name inside it separately. A name that would leave its
// folder (see IsSafeFileName) never becomes a step: the plan is where a hostile entry or
// adventure name is stopped, once for every game.
class PackagePlan {
  public:
    struct Step {
        enum class Kind { MakeFolder, File, RemoveFolder };
        Kind kind;
        std::string entry;   // File: the stored name to extract
        std::string target;  // File: the target path; MakeFolder / RemoveFolder: the folder
        bool counted = false;
    };

    // A folder of the package's own, `name` inside `parent` (which ends with a separator):
    // created on install. Returns the folder path to put files into, or an empty string when
    // the name cannot be used as a folder (then no file is put into it).
    std::string MakeFolder(const std::string& parent, const std::string& name);
    // The package's own folder, removed on deinstall when it is empty.
    void RemoveFolder(const std::string& parent, const std::string& name);
    // One file: `name` extracted into `folder` (which ends with a separator). Counted files
    // are shared between packages and carry reference counts.
    void File(const std::string& folder, const std::string& name, bool counted);

    const std::vector<Step>& Steps() const { return steps_; }

  private:
    std::vector<Step> steps_;
};

// Installed when every file target exists.
bool IsPlanInstalled(const PackagePlan& plan, const FileSystem& fileSystem);
// The references an installed package holds: one for each counted file.
void AddPlanRefs(const PackagePlan& plan, FileRefCounts& fileRefs);

// Install: creates the package's folders, extracts each file (a file that cannot be written
// stays missing, the rest goes on) and adds a reference for each counted one.
void InstallPlan(Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                 FileRefCounts& fileRefs);
// Deinstall: releases counted files, deletes the others, removes the package's folders when
// they are empty.
void DeinstallPlan(const PackagePlan& plan, FileSystem& fileSystem, FileRefCounts& fileRefs);

// Opens the archive and installs or deinstalls the plan. When the archive cannot be read, or an
// install could not be written whole (see CanExtractPlan), nothing is written or deleted.
void ApplyPackagePlan(const std::string& archivePath, const PackagePlan& plan,
                      GameEnvironment& environment, bool install);

}  // namespace wendmoor
