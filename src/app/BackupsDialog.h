#pragma once

#include <string>

#include <QDialog>

#include "ui/BackupsList.h"

class QPushButton;
class QTreeWidget;

namespace wendmoor {

struct GuiServices;

// "Backups...": the view of BackupsList. "Restore" puts the selected backup back; "Open
// folder" shows its folder with the desktop's file manager.
class BackupsDialog : public QDialog {
    Q_OBJECT

  public:
    BackupsDialog(const std::string& gameName, BackupsList backups, GuiServices& services,
                  QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    // The backup of that name becomes the selected line; false when it is not listed.
    bool Select(const std::string& name);

    void OnRestore();
    void OnOpenFolder();

  private:
    void Reload();
    std::size_t SelectedRow() const;
    void UpdateButtons();

    BackupsList backups_;
    GuiServices& services_;
    QTreeWidget* list_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
    QPushButton* openButton_ = nullptr;
};

}  // namespace wendmoor
