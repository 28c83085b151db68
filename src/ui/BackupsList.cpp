#include "ui/BackupsList.h"

#include "packages/PackageSession.h"
#include "ui/WindowTexts.h"

namespace wendmoor {

BackupsList::BackupsList(ListFunction list, RestoreFunction restore)
    : list_(std::move(list)), restore_(std::move(restore)) {
    Reload();
}

void BackupsList::Reload() {
    backups_ = list_();
}

std::array<std::string, 6> BackupsList::RowTexts(std::size_t row) const {
    const BackupInfo& backup = backups_[row];
    return {backup.name,
            backup.time,
            backup.package,
            backup.command,
            std::to_string(backup.files.size()),
            SizeText(backup.Size())};
}

std::size_t BackupsList::RowOf(const std::string& name) const {
    for (std::size_t row = 0; row < backups_.size(); ++row) {
        if (backups_[row].name == name) return row;
    }
    return backups_.size();
}

std::string BackupsList::Restore(std::size_t row, MessageBoxes& messages, ParentWindow parent) {
    if (row >= backups_.size()) return {};
    const std::string name = backups_[row].name;
    RestoreResult result = restore_(name, false);
    if (result.needsForce) {
        if (!messages.AskYesNo(parent, kForceQuestionCaption,
                               ForceQuestionText(result.conflicts))) {
            return {};
        }
        result = restore_(name, true);
    }
    Reload();  // a forced restore made a backup of its own
    return RestoreReport(name, result);
}

BackupsList SessionBackups(PackageSession& session, std::function<void()> beforeRestore,
                           std::function<void()> afterRestore) {
    return BackupsList(
        [&session] {
            return ListBackups(session.BackupStoreFolder(), BackupGameKey(session.CurrentGame()));
        },
        [&session, before = std::move(beforeRestore), after = std::move(afterRestore)](
            const std::string& name, bool force) {
            if (before) before();
            RestoreResult result = session.RestoreBackup(name, force);
            if (after) after();
            return result;
        });
}

}  // namespace wendmoor
