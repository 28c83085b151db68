#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "finder/GameFinder.h"
#include "ui/MainWindowState.h"
#include "ui/Seams.h"
#include "ui/WindowTexts.h"

namespace wendmoor {

class BackgroundTask;
struct FinderServices;
class PackageFileChooser;
class SameNameQuestion;

// What the main window's flows below need of a window, whatever its toolkit.
class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    virtual ParentWindow WindowParent() = 0;
    // The state into the controls.
    virtual void Mirror() = 0;
    // Runs `work` off the window's thread; after kProgressDelay a progress dialog shows what
    // `describe` says, with Cancel when `cancel` is set. The window takes no input meanwhile.
    virtual void RunInBackground(const std::function<void(BackgroundTask&)>& work,
                                 const std::function<ProgressView()>& describe,
                                 const std::function<void()>& cancel) = 0;
    virtual void FocusList(PackageList list) = 0;
    // As a click on the game's button.
    virtual void SelectGame(int game) = 0;
    // Which game files from the command line go to; kNoGame when the player chose none.
    virtual int AskForGame() = 0;
    // Adds the files (AddFilesToGame), once the window is free.
    virtual void AddPackages(const std::vector<std::string>& files) = 0;
};

// The command of a list's button, Enter or double-click: asks first when an install would
// change a shared map, runs it off the window's thread and reports what it could not do or
// kept. The focus stays on the list it came from. `waitingForLock` is what the command's lock
// tells while it waits for another process.
void RunListCommand(MainWindowState& state, MainWindowView& view, MessageBoxes& messages,
                    PackageList source, std::atomic<bool>& waitingForLock);

// Copies the files into the selected game's missions folder off the window's thread, then
// shows them; without a game, says why nothing can be added.
void AddFilesToGame(MainWindowState& state, MainWindowView& view, MessageBoxes& messages,
                    SameNameQuestion& sameName, const std::vector<std::string>& files);

// "Add packages...": the files the player chooses, the chooser opening where the last choice
// was (`lastFolder`, kept up to date).
void ChooseAndAddFiles(const MainWindowState& state, MainWindowView& view,
                       PackageFileChooser& chooser, std::string& lastFolder);

// At a first start, with no folder set at all: what the finder finds, for the options dialog
// to offer. Empty without the finder, when a folder is set, or when it found nothing.
GameFindings FirstStartFindings(const MainWindowState& state, const FinderServices* finder);

// Files the program was started with: added as a drop is, to the selected game or, with none
// selected, to the game the player then chooses.
void AddCommandLineFiles(const MainWindowState& state, MainWindowView& view,
                         const std::vector<std::string>& files);

}  // namespace wendmoor
