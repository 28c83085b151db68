#pragma once

#include <atomic>
#include <functional>

#include <QDialog>

#include "ui/MainWindowState.h"
#include "ui/WindowFlows.h"
#include "ui/WindowTexts.h"

class QButtonGroup;
class QListWidget;

namespace wendmoor {

class BackgroundTask;
class TemplatePage;
struct GuiServices;

// The main window: the view of MainWindowState. It mirrors the state into its controls and hands
// the player's actions in. MainDialog.cpp builds it and holds the game selection, Options and
// the shell's commands; MainDialogCommands.cpp the commands that run off the window's thread
// (install, deinstall, adding packages) and the first start's finding of the games.
class MainDialog : public QDialog, private MainWindowView {
    Q_OBJECT

  public:
    // `settings` and `services` belong to the caller and outlive the window.
    MainDialog(SettingsStore& settings, GuiServices& services, QWidget* parent = nullptr);

    // Loads the folders and, at a first start, shows the About box. False when the user left
    // that box with Escape or its close box: the program then ends before the window shows.
    bool InitDialog();

    int CurrentGame() const { return state_.CurrentGame(); }
    const GamePaths& Paths() { return state_.Paths(); }
    const std::string& StartDirectory() const { return state_.StartFolder(); }
    QListWidget* ContentList() const { return contentList_; }
    QListWidget* InstalledList() const { return installedList_; }
    QListWidget* AvailableList() const { return availableList_; }

    void SelectGame(int game) override;
    void OnOptions();
    void OnInstall() { RunPackageCommand(PackageList::Available); }
    void OnDeinstall() { RunPackageCommand(PackageList::Installed); }
    // "Add packages..." chooses files and adds them as a drop does.
    void OnAddPackages();
    void AddPackages(const std::vector<std::string>& files) override;
    // Files the program was started with: added to the selected game or, with none selected,
    // to the game the user then chooses.
    void AddFilesFromCommandLine(const std::vector<std::string>& files);
    void OnStart();
    void OnHelpButton();
    void OnAbout();
    void OnBackups();

    // A command that takes longer than this shows its progress.
    static constexpr std::chrono::milliseconds kProgressDelay{500};
    // While a command runs the window cannot be closed.
    void done(int result) override;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenu();
    void OfferFoundFolders();
    void SaveFolders();
    int AskForGame() override;
    ParentWindow WindowParent() override;
    void FocusList(PackageList list) override;
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
    void Mirror() override;
    void MirrorSelection();
    void OnSelectionChanged(PackageList list);
    void RunPackageCommand(PackageList source);
    void Tell(bool warning, const std::string& caption, const std::string& text);

    GuiServices& services_;
    MainWindowState state_;
    TemplatePage* page_;
    QListWidget* contentList_;
    QListWidget* installedList_;
    QListWidget* availableList_;
    QButtonGroup* gameButtons_;
    bool busy_ = false;
    // Set by a command's thread while it waits for another process's command.
    std::atomic<bool> waitingForLock_{false};
    std::string lastAddFolder_;
};

}  // namespace wendmoor
