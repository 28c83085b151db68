#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "platform/Outcome.h"
#include "settings/GamePaths.h"
#include "ui/BackupsList.h"

namespace wendmoor {

class SettingsStore;

// The settings the window uses: the platform's default store, unless WENDMOOR_SETTINGS names an
// INI file to use instead (the sample set-up uses it, so a trial never touches the player's own).
std::unique_ptr<SettingsStore> OpenProgramSettings();

// The games in the order the window offers them ("Add the packages to ...").
std::vector<std::string> GameChoiceNames();

// The two package lists of the main window.
enum class PackageList { Installed, Available };

// An install or deinstall the player asked for: the package and the list it came from.
struct PackageCommand {
    std::string package;
    PackageList source = PackageList::Available;
    bool Install() const { return source == PackageList::Available; }
};

// What the main window shows and what each of its controls may do now, without a toolkit: the
// window mirrors the lists, the selection and the content lines, enables the buttons as
// CanInstall/CanDeinstall say, and hands the player's actions in. The package flow itself is
// the session's, shared with the command-line tool.
class MainWindowState {
  public:
    // `askForFolders` runs when a selected game's required folders are incomplete (the window
    // opens its options dialog); `keepWaiting` decides how long to wait for another process.
    MainWindowState(SettingsStore& settings, std::function<void()> askForFolders,
                    PackageLock::KeepWaiting keepWaiting = {});

    GamePaths& Paths() { return paths_; }
    FileSystem& Files() { return fileSystem_; }
    PackageSession& Session() { return session_; }
    const PackageSession& Session() const { return session_; }
    int CurrentGame() const { return session_.CurrentGame(); }

    // The folders from the settings; the message about values not taken, or nothing.
    std::string LoadSettings();
    // The folders into the settings; the message about values not saved, or nothing.
    std::string SaveSettings();
    // The About box comes first when the Pharao, Zeus and Emperor folders are all empty
    // (Caesar III's takes no part).
    bool NeedsFirstStartAbout() const;
    // No folder set at all: the finder fills the options at a first start.
    bool NoFolderSet() const;

    // The folder the program started in (bytes; empty when it cannot be read): where Help looks
    // for the readme first.
    const std::string& StartFolder() const { return startFolder_; }
    // While another process holds the folders: true once a selection, command or restore, when
    // the wait becomes noticeable; the window then says so.
    bool LockNoticeDue(std::chrono::milliseconds waited);

    // Empties the lists, scans the game anew and selects nothing.
    void SelectGame(int game);
    // The player selected a line (nothing: none) in one list; the other list's selection goes.
    void SelectPackage(PackageList list, const std::optional<std::string>& line);
    std::optional<std::string> Selected(PackageList list) const;

    const std::vector<std::string>& Lines(PackageList list) const;
    // What "Zipfile Content" shows: the selected package's files; a word when its archive is
    // gone; where packages go and how to add them when both lists are empty.
    std::vector<std::string> ContentLines() const;

    // "<- Install" acts on the selection in "Available Missions", "Deinstall ->" on the one in
    // "Installed Missions"; neither while a command runs.
    bool CanInstall() const;
    bool CanDeinstall() const;
    // The command the list's button, Enter or double-click would run now; nothing when none.
    std::optional<PackageCommand> CommandFrom(PackageList source) const;
    // What to ask the player before the command runs: an install that would change a map
    // other installed packages use. Empty when there is nothing to ask.
    std::string QuestionBefore(const PackageCommand& command) const;
    // The command starts: no selection, no content, no other command until it finishes.
    void BeginCommand();
    bool CommandRunning() const { return commandRunning_; }
    // Runs the command; from any thread. `progress` may cancel it.
    Outcome RunCommand(const PackageCommand& command, CommandProgress* progress);
    // The command ended (the session has refreshed the lists): the package is selected in the
    // list it moved to. Answers the message for the player, empty when all went well.
    std::string FinishCommand(const PackageCommand& command, const Outcome& outcome,
                              bool cancelled);

    // "Start": the game's program and its folder; nothing without a game folder.
    std::optional<std::string> GameProgram() const;
    std::string GameFolder() const;
    // "Help" and the About box's link: the readme in the start folder wins; an installed program,
    // started from anywhere, has its own in the install's data folder. The file and its folder.
    std::pair<std::string, std::string> Readme() const;
    // "Backups...": the selected game's backups; nothing without a game.
    std::optional<BackupsList> Backups();

  private:
    SettingsStore& settings_;
    GamePaths paths_;
    FileSystem fileSystem_;
    PackageSession session_;
    std::optional<PackageList> selectedList_;
    std::string selectedLine_;
    bool commandRunning_ = false;
    std::string startFolder_;
    bool lockNoticeShown_ = false;
};

}  // namespace wendmoor
