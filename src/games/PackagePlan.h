#pragma once

#include <string>
#include <vector>

#include "packages/PackageCommandContext.h"
#include "archive/StoredName.h"
#include "platform/Outcome.h"

namespace wendmoor {

class Archive;
class CommandBackup;
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
        // File: the package's own folder it lies in (MakeFolder's target), or empty when it
        // lies in one of the game's folders.
        std::string packageFolder;
        // Where an earlier version put the file or the package folder, under the undecoded
        // names of the entries; empty when that is the target. Found and deleted (a folder
        // when empty), never written.
        std::string earlierTarget;
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

    // Gives each file step whose name is listed its earlier spelling (see ReadStoredNames).
    void UseEarlierSpellings(const EarlierSpellings& spellings);

    // Room for this many more steps, for a plan of many files.
    void Reserve(std::size_t steps) { steps_.reserve(steps_.size() + steps); }

    const std::vector<Step>& Steps() const { return steps_; }

  private:
    std::vector<Step> steps_;
    // The package folders made so far, each with its separator, so that a file finds its own
    // without a walk over all the steps (a package may hold thousands of files).
    std::vector<std::string> madeFolders_;
};

// Installed when every file target exists (under its earlier spelling, when only that does). A
// package folder that is a symbolic link is not the package's (see InstallPlan), so its files count
// as absent.
bool IsPlanInstalled(const PackagePlan& plan, const FileSystem& fileSystem);
// Whether any file of the plan is in place, leaving aside shared files that installed packages
// hold. A deinstall cut off by a kill leaves a package that no longer counts as installed,
// with some of its files still there.
bool HasPlanRemains(const PackagePlan& plan, const FileSystem& fileSystem,
                    const FileRefCounts& fileRefs);
// The references an installed package holds: one for each counted file.
void AddPlanRefs(const PackagePlan& plan, FileRefCounts& fileRefs);

// Install: creates the package's folders, writes every file to a temporary file and flushes
// it, then renames them all over their targets and syncs each folder once. A file that cannot
// be written stays as it was and is reported; the rest goes on, and only a file really in
// place gets its reference. A package folder that exists as a symbolic link is never written
// through: the package would land wherever the link points, and its deinstall delete there.
// Links the player made for whole game folders ("Maps", the save folder) are used as folders.
// `progress`, when given, hears of every file and byte; its Cancel() stops the install before
// anything is replaced. With a backup, every existing target whose bytes differ from its
// entry's is kept there before the renames; one that cannot be kept is not replaced, and
// reported.
Outcome InstallPlan(Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                    FileRefCounts& fileRefs, CommandProgress* progress = nullptr,
                    CommandBackup* backup = nullptr);
// Deinstall: releases counted files, deletes the others, removes the package's folders when
// they are empty; what could not be deleted is reported. With a backup, a file about to be
// deleted whose bytes differ from the archive's entry (the player changed it) is kept there
// first; one that cannot be kept stays, and is reported.
Outcome DeinstallPlan(const Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                      FileRefCounts& fileRefs, CommandProgress* progress = nullptr,
                      CommandBackup* backup = nullptr);

// Opens the archive and installs or deinstalls the plan. A deinstall of a package that is not
// installed whole removes what is left of it: it takes the references the package would hold
// first, so a shared file goes only when no installed package holds it. When the archive cannot be
// read, or an install could not be written whole (see CanExtractPlan), nothing is written or
// deleted. Temporary files that a killed process left in the folders the plan writes to go first;
// the caller holds the exclusive PackageLock. The player's files go to the context's backup.
Outcome ApplyPackagePlan(const std::string& archivePath, const PackagePlan& plan,
                         PackageCommandContext& context, bool install);

}  // namespace wendmoor
