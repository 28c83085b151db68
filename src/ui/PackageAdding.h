#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "packages/PackageAdder.h"
#include "ui/FinderSeams.h"
#include "ui/WindowTexts.h"

namespace wendmoor {

class BackgroundTask;
class FileSystem;
class MainWindowState;
struct GameDescription;
struct GamePaths;

// What adding several files did: whether any was copied, and the message for the player.
struct AddReport {
    bool added = false;
    std::string message;  // the files not added, with their reasons; empty when none
};

// Adds each file to the game's missions folder (AddPackageFile), from any thread; `adding`
// hears of each file before it is copied.
AddReport AddPackages(FileSystem& fileSystem, const GameDescription& game, const GamePaths& paths,
                      const std::vector<std::string>& files, const KeepBothQuestion& keepBoth,
                      const std::function<void(const std::string&)>& adding);

// The local files among dropped URLs ("file:///path", percent-encoded), as the bytes of their
// paths, so a name that is no valid text arrives unchanged.
std::vector<std::string> LocalFilesOfUrls(const std::vector<std::string>& urls);
// Adding files as a window runs it off its thread: a same-named file's question is asked on the
// window's thread, and the progress dialog says which file is being added.
class AddingRun {
  public:
    AddingRun(MainWindowState& state, const GameDescription& game, std::vector<std::string> files,
              SameNameQuestion& sameName, ParentWindow parent);

    // From the work's thread.
    void Work(BackgroundTask& task);
    ProgressView Progress() const;
    const AddReport& Report() const { return report_; }

  private:
    MainWindowState& state_;
    const GameDescription& game_;
    std::vector<std::string> files_;
    SameNameQuestion& sameName_;
    ParentWindow parent_;
    AddReport report_;
    mutable std::mutex mutex_;
    std::string current_;
};

}  // namespace wendmoor
