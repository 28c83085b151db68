#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "ui/MainWindowState.h"
#include "ui/WindowFlows.h"
#include "ui/WindowTexts.h"
#include "win32/DialogWindow.h"
#include "win32/GrowingLayout.h"
#include "win32/ProgramIcon.h"
#include "win32/Win32Seams.h"

namespace wendmoor {

class BackgroundTask;
class SettingsStore;

// The main window on Windows: a modeless dialog built from the window layer's template, the
// view of MainWindowState. It mirrors the state into its controls and hands the player's
// actions in. Split by concern: MainWindow.cpp (construction, messages, selection, Options),
// MainWindowCommands.cpp (commands off the window's thread), MainWindowShell.cpp (Start, Help,
// About, Backups, adding packages).
class MainWindow final : public DialogWindow, public MainWindowView {
  public:
    // The control ids: 1000 plus the control's place in the template's table.
    static constexpr int kFirstControlId = 1000;
    static int IdOf(const std::string& objectName);

    // `settings` and `services` belong to the caller and outlive the window. The current
    // folder at this moment is the start directory (where Help looks for the readme first).
    MainWindow(SettingsStore& settings, Win32Services& services);
    ~MainWindow() override;

    // Makes the window (hidden), loads the folders and, at a first start, shows the About box.
    // False when the player left that box with Escape or its close box: the program then ends
    // before the window shows.
    bool InitDialog();
    // Shows the window and runs its messages until it closes.
    void Run(const std::vector<std::string>& packages);
    // One message of the window's loop: its keys, then the dialog's. True when it was used.
    bool PreTranslate(MSG& message);
    bool Closed() const { return closed_; }

    HWND ControlNamed(const std::string& objectName) const { return Control(IdOf(objectName)); }
    int CurrentGame() const { return state_.CurrentGame(); }
    bool CommandRunning() const { return busy_; }

    // The buttons, menus and drops, as the player's clicks run them.
    void SelectGame(int game) override;
    void AddPackages(const std::vector<std::string>& files) override;
    void OnOptions();
    void OnStart();
    void OnHelpButton();
    void OnAbout();
    void OnBackups();

    // The context menu's and the system menu's commands.
    enum MenuCommand : UINT { kBackupsMenu = 0x10, kAddPackagesMenu = 0x20, kAboutMenu = 0x30 };

  protected:
    DialogTemplate MakeTemplate() const override;
    bool OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void OnCommand(int id, int notification);
    void OnListNotice(PackageList list, int notification);
    void ShowContextMenu(LPARAM where);
    void OnDroppedFiles(HDROP drop);
    void OfferFoundFolders();
    void SaveFolders();
    int AskForGame() override;
    bool KeepWaitingForLock(std::chrono::milliseconds waited);
    void RunPackageCommand(PackageList source);
    // The window is disabled meanwhile and only paints and answers the progress window; what
    // arrives for it waits (DeferWhileBusy).
    void RunInBackground(const std::function<void(BackgroundTask&)>& work,
                         const std::function<ProgressView()>& describe,
                         const std::function<void()>& cancel) override;
    // True when busy: `action` then runs once the window is free again.
    bool DeferWhileBusy(std::function<void()> action);
    void SetBusy(bool busy);
    ParentWindow WindowParent() override { return ParentOf(Handle()); }
    void Mirror() override;
    void FocusList(PackageList list) override;
    void MirrorSelection();
    void FillList(HWND list, const std::vector<std::string>& lines);
    void SelectLine(HWND list, PackageList which);
    HWND ListOf(PackageList list) const;
    void Inform(const std::string& caption, const std::string& text);
    bool ShellOpen(const std::string& file, const std::string& directory);

    Win32Services& services_;
    MainWindowState state_;
    GrowingLayout layout_;
    WindowIcons icons_;
    bool busy_ = false;
    bool closed_ = false;
    bool waitNoticeShown_ = false;
    std::atomic<bool> waitingForLock_{false};
    std::vector<std::function<void()>> deferred_;
    std::string lastAddFolder_;
};

}  // namespace wendmoor
