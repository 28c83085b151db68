#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "packages/BackupRestore.h"
#include "packages/BackupStore.h"

class QPushButton;
class QTreeWidget;

namespace wendmoor {

struct GuiServices;

// "Backups...": the backups of the selected game, newest first, with their date, package,
// command, number of files and size. "Restore" puts the selected one back; when files changed
// since, it asks before replacing them (they are kept in a new backup first). "Open folder"
// shows the backup's folder with the desktop's file manager.
class BackupsDialog : public QDialog {
    Q_OBJECT

  public:
    using ListBackupsFunction = std::function<std::vector<BackupInfo>()>;
    using RestoreFunction = std::function<RestoreResult(const std::string& name, bool force)>;

    BackupsDialog(const QString& gameName, ListBackupsFunction list, RestoreFunction restore,
                  GuiServices& services, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    // The backup of that name becomes the selected line; false when it is not listed.
    bool Select(const std::string& name);

    void OnRestore();
    void OnOpenFolder();

    static constexpr const char* kForceQuestionTitle = "Replace changed files?";

  private:
    void Reload();
    const BackupInfo* Selected() const;
    bool AskToForce(const RestoreResult& refused);
    void Report(const std::string& name, const RestoreResult& result);

    ListBackupsFunction listBackups_;
    RestoreFunction restore_;
    GuiServices& services_;
    std::vector<BackupInfo> backups_;
    QTreeWidget* list_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
    QPushButton* openButton_ = nullptr;
};

// The lines that tell the player which files a command kept, and where, for a message box;
// empty when it kept none.
QString KeptFilesText(const KeptFiles& kept);

// Lines for a message box, at most a screenful: "... and N more" stands for the rest.
QString MessageLines(const std::vector<std::string>& lines);

}  // namespace wendmoor
