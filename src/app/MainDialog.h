#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include <QDialog>

#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

class QAction;
class QButtonGroup;
class QListWidget;

namespace wendmoor {

class OptionsDialog;
class SettingsStore;
struct GuiServices;

// The main window: the choice of game, the two
// package lists, "Zipfile Content", the package commands, Options, Start and Help.
// Split by concern: MainDialog.cpp (construction, layout, start-up, SelectGame, OnOptions),
// MainDialogPackageCommands.cpp (package commands), MainDialogShell.cpp (Start, Help, About),
// MainDialogBackups.cpp (the backups of the player's files).
class MainDialog : public QDialog {
    Q_OBJECT

  public:
    // `settings` and `services` belong to the caller and outlive the window. The current
    // folder at this moment becomes the start directory (where Help looks for the readme first).
    MainDialog(SettingsStore& settings, GuiServices& services, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Loads the folders and, at a first start (see NeedsFirstStartAbout), shows
    // the About box. False when the user left that box with Escape or its close box: the
    // program then ends with status 0 before the window is shown.
    bool InitDialog();

    int CurrentGame() const { return session_.CurrentGame(); }
    const GamePaths& Paths() const { return paths_; }
    const FileRefCounts& FileRefs() const { return session_.FileRefs(); }
    QListWidget* ContentList() const { return contentList_; }
    QListWidget* InstalledList() const { return installedList_; }
    QListWidget* AvailableList() const { return availableList_; }
    QAction* AboutAction() const { return aboutAction_; }
    QAction* BackupsAction() const { return backupsAction_; }

    // Choice of game and options.
    void SelectGame(int game);
    void OnOptions();

    // Commands on one package.
    void OnAvailableSelChange();
    void OnInstalledSelChange();
    void OnInstall();
    void OnDeinstall();
    void OnAvailableDblClk();
    void OnInstalledDblClk();

    // Finding the games and adding packages (MainDialogFinder.cpp). "Add packages..." chooses
    // files and adds them; a drop of files adds them. Adding copies each file that is a package
    // of the current game into its missions folder, asks before keeping a same-named file's
    // twin, refreshes the lists and names the refused files with their reasons in one box.
    QAction* AddPackagesAction() const { return addPackagesAction_; }
    void OnAddPackages();
    void AddPackages(const std::vector<std::string>& files);
    // Files the program was started with (a desktop's "Open with"): added as a drop is, to the
    // selected game or, with none selected, to the game the user then chooses.
    void AddFilesFromCommandLine(const std::vector<std::string>& files);

    // Start, Help and About.
    void OnStart();
    void OnHelpButton();
    // The shell's "open" of `file` with `directory` as working folder; on failure the
    // "Error" box. Returns at once: a failure that shows only while the started program is
    // watched gets the box later, while the window goes on answering the user. True when the
    // launcher reported no error at once.
    bool ShellOpen(const std::string& file, const std::string& directory);
    // The About command of the Windows system menu ("Inf&o über QARN..."), here a context
    // menu entry of the window and Ctrl+I.
    void OnAbout();

    // "Backups..." on the window's context menu: the selected game's backups (BackupsDialog).
    void OnBackups();

    // Shown in "Zipfile Content" while another Wendmoor process holds the game folders.
    static constexpr const char* kWaitingForLockText =
        "waiting for another Wendmoor command to finish ...";
    static constexpr std::chrono::milliseconds kLockNoticeDelay{700};
    // A command that takes longer than this shows its progress.
    static constexpr std::chrono::milliseconds kProgressDelay{500};

    // While a command runs the window takes no input and cannot be closed.
    bool CommandRunning() const { return commandRunning_; }
    void done(int result) override;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildControls();
    void BuildFinderControls();
    // The options dialog gets "Find games" when the window has the finder's services.
    void PrepareOptionsDialog(OptionsDialog& dialog);
    // At a first start with no folder set: the options dialog with what was found filled in.
    void OfferFoundFolders();
    // Saves the folders; a message box names each that could not be saved, and why.
    void SaveFolders();
    // Which game packages go to; kNoGame when the user cancelled.
    int AskForGame();
    bool KeepWaitingForLock(std::chrono::milliseconds waited);
    // Runs the command on a thread of its own while the window stays responsive, with a
    // progress dialog once it takes a while; its Cancel stops the command before anything is
    // replaced.
    Outcome RunCommandInBackground(const std::string& name, bool install);
    // One message box with what a command could not do and which of the player's files it
    // kept, after the refresh; none when it did everything and kept nothing.
    void ReportOutcome(bool install, const Outcome& outcome);
    // The session's lists and content lines into the three list boxes.
    void MirrorSession();
    void ShowPackageContent(QListWidget* source, QListWidget* other);
    void RunPackageCommand(QListWidget* source, bool install);

    SettingsStore& settings_;
    GuiServices& services_;
    GamePaths paths_;
    FileSystem fileSystem_;
    PackageSession session_;

    QListWidget* contentList_ = nullptr;    // 1010 "Zipfile Content"
    QListWidget* installedList_ = nullptr;  // 1008 "Installed Missions"
    QListWidget* availableList_ = nullptr;  // 1009 "Available Missions"
    QButtonGroup* gameButtons_ = nullptr;   // 1018, 1013, 1015, 1014 by GameId
    QAction* aboutAction_ = nullptr;
    QAction* backupsAction_ = nullptr;
    bool waitNoticeShown_ = false;
    bool commandRunning_ = false;
    // Set by a command's thread while it waits for another process's command.
    std::atomic<bool> waitingForLock_{false};
    QAction* addPackagesAction_ = nullptr;
};

// Start-up shows the About box first when the Pharao, Zeus and Emperor game folders are all
// empty (Caesar III's takes no part).
bool NeedsFirstStartAbout(const GamePaths& paths);
// Whether the program goes on after that About box ended with `result` (a QDialog code).
bool ContinuesAfterFirstStartAbout(int result);

}  // namespace wendmoor
