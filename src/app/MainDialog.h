#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "ui/BackgroundTask.h"
#include "ui/MainWindowState.h"
#include "ui/WindowFlows.h"
#include "ui/WindowTexts.h"

class QAction;
class QButtonGroup;
class QListWidget;
class QPushButton;

namespace wendmoor {

class BackgroundTask;
class OptionsDialog;
class SettingsStore;
struct GuiServices;

// The main window: the choice of game, the two package lists, "Zipfile Content", the package
// commands, Options, Start and Help. The view of MainWindowState: it mirrors the state into its
// controls and hands the player's actions in. Split by concern: MainDialog.cpp (construction,
// start-up, SelectGame, Options), MainDialogPackageCommands.cpp (commands off the window's
// thread), MainDialogShell.cpp (Start, Help, About, Backups), MainDialogFinder.cpp (finding the
// games and adding packages).
class MainDialog : public QDialog, public MainWindowView {
    Q_OBJECT

  public:
    // `settings` and `services` belong to the caller and outlive the window. The current
    // folder at this moment becomes the start directory (where Help looks for the readme first).
    MainDialog(SettingsStore& settings, GuiServices& services, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Loads the folders and, at a first start, shows the About box. False when the user left
    // that box with Escape or its close box: the program then ends before the window shows.
    bool InitDialog();

    int CurrentGame() const { return state_.CurrentGame(); }
    const GamePaths& Paths() { return state_.Paths(); }
    const FileRefCounts& FileRefs() const { return state_.Session().FileRefs(); }
    const std::string& StartDirectory() const { return startDirectory_; }
    QListWidget* ContentList() const { return contentList_; }
    QListWidget* InstalledList() const { return installedList_; }
    QListWidget* AvailableList() const { return availableList_; }
    QAction* AboutAction() const { return aboutAction_; }
    QAction* BackupsAction() const { return backupsAction_; }
    QAction* AddPackagesAction() const { return addPackagesAction_; }

    void SelectGame(int game) override;
    void OnOptions();
    void OnInstall();
    void OnDeinstall();

    // "Add packages..." chooses files and adds them; a drop of files adds them. Adding runs
    // off the window's thread and says what it does; a same-named file's twin is asked about.
    void OnAddPackages();
    void AddPackages(const std::vector<std::string>& files) override;
    // Files the program was started with: added as a drop is, to the selected game or, with
    // none selected, to the game the user then chooses.
    void AddFilesFromCommandLine(const std::vector<std::string>& files);

    void OnStart();
    void OnHelpButton();
    // The shell's "open" of `file` with `directory` as working folder; on failure the
    // "Error" box. True when the launcher reported no error at once.
    bool ShellOpen(const std::string& file, const std::string& directory);
    void OnAbout();
    void OnBackups();

    // A command that takes longer than this shows its progress.
    static constexpr std::chrono::milliseconds kProgressDelay = wendmoor::kProgressDelay;
    static constexpr std::chrono::milliseconds kLockNoticeDelay = wendmoor::kLockNoticeDelay;

    // While a command runs the window takes no input and cannot be closed; actions that
    // arrive meanwhile (a queued drop) wait until it has ended.
    bool CommandRunning() const { return busy_; }
    void done(int result) override;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildControls();
    void BuildMenu();
    void PrepareOptionsDialog(OptionsDialog& dialog);
    void OfferFoundFolders();
    void SaveFolders();
    int AskForGame() override;
    bool KeepWaitingForLock(std::chrono::milliseconds waited);
    // Runs `work` on a thread of its own; after kProgressDelay the progress dialog shows what
    // `describe` says. The window's thread goes on painting through a timer, never a nested
    // call of the window's actions.
    void RunInBackground(const std::function<void(BackgroundTask&)>& work,
                         const std::function<ProgressView()>& describe,
                         const std::function<void()>& cancel) override;
    // True when busy: `action` then runs once the window is free again.
    bool DeferWhileBusy(std::function<void()> action);
    // The state into the controls: all of it, or only what a change of selection changes.
    ParentWindow WindowParent() override;
    void Mirror() override;
    void FocusList(PackageList list) override;
    void MirrorSelection();
    void OnSelectionChanged(PackageList list);
    void RunPackageCommand(PackageList source);
    void Inform(const std::string& caption, const std::string& text);

    GuiServices& services_;
    std::string startDirectory_;
    MainWindowState state_;

    QListWidget* contentList_ = nullptr;    // 1010 "Zipfile Content"
    QListWidget* installedList_ = nullptr;  // 1008 "Installed Missions"
    QListWidget* availableList_ = nullptr;  // 1009 "Available Missions"
    QPushButton* installButton_ = nullptr;
    QPushButton* deinstallButton_ = nullptr;
    QButtonGroup* gameButtons_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* backupsAction_ = nullptr;
    QAction* addPackagesAction_ = nullptr;
    bool waitNoticeShown_ = false;
    bool busy_ = false;
    // Set by a command's thread while it waits for another process's command.
    std::atomic<bool> waitingForLock_{false};
    std::string lastAddFolder_;
};

}  // namespace wendmoor
