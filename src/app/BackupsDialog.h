#pragma once

#include <QDialog>

#include "ui/BackupsList.h"

class QTreeWidget;

namespace wendmoor {

struct GuiServices;

// "Backups...": the view of BackupsList. "Restore" puts the selected backup back; "Open folder"
// shows its folder with the desktop's file manager.
class BackupsDialog : public QDialog {
    Q_OBJECT

  public:
    BackupsDialog(const std::string& gameName, BackupsList backups, GuiServices& services,
                  QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    void OnRestore();
    void OnOpenFolder();

  private:
    void Reload(const std::string& selected);
    std::size_t SelectedRow() const;

    BackupsList backups_;
    GuiServices& services_;
    QTreeWidget* list_;
};

}  // namespace wendmoor
