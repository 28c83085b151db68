#pragma once

#include <string>

#include "ui/BackupsList.h"
#include "win32/DialogWindow.h"
#include "win32/GrowingLayout.h"
#include "win32/Win32Seams.h"

namespace wendmoor {

// "Backups of <game>": the view of BackupsList in a report list, with Restore, Open folder and
// Close.
class BackupsBox final : public DialogWindow {
  public:
    static constexpr int kListId = 100;
    static constexpr int kRestoreId = 101;
    static constexpr int kOpenFolderId = 102;

    BackupsBox(const std::string& gameName, BackupsList backups, Win32Services& services);

  protected:
    DialogTemplate MakeTemplate() const override;
    bool OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void Reload();
    void UpdateButtons();
    std::size_t SelectedRow() const;
    void Select(std::size_t row);
    void OnRestore();
    void OnOpenFolder();

    std::string caption_;
    BackupsList backups_;
    Win32Services& services_;
    GrowingLayout layout_;
};

// The shell's "open" of `file` in `directory`; a failure gets the "Error" box over `owner`, with
// the starter's own words as its details. True when the start did not fail.
bool OpenInShell(Win32Services& services, HWND owner, const std::string& file,
                 const std::string& directory);

}  // namespace wendmoor
