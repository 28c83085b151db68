#pragma once

#include <string>
#include <vector>

#include "archive/StoredName.h"

namespace wendmoor {

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

}  // namespace wendmoor
