#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "backups/BackupRestore.h"
#include "backups/BackupStore.h"
#include "ui/Seams.h"

namespace wendmoor {

class PackageSession;

// "Backups...": the selected game's backups, newest first, one row each; "Restore" puts the
// selected one back and asks before replacing files the player changed since.
class BackupsList {
  public:
    using ListFunction = std::function<std::vector<BackupInfo>()>;
    using RestoreFunction = std::function<RestoreResult(const std::string& name, bool force)>;

    static constexpr std::array<const char*, 6> kColumns = {"Name",    "Date",  "Package",
                                                            "Command", "Files", "Size"};
    static constexpr std::array<bool, 6> kRightAligned = {false, false, false, false, true, true};
    static constexpr char kAccessibleName[] = "Backups";

    BackupsList(ListFunction list, RestoreFunction restore);

    // Reads the store anew.
    void Reload();
    std::size_t Count() const { return backups_.size(); }
    const BackupInfo& At(std::size_t row) const { return backups_[row]; }
    // The texts of a row, one for each of kColumns.
    std::array<std::string, 6> RowTexts(std::size_t row) const;
    // The row of the backup of that name; Count() when it is not listed.
    std::size_t RowOf(const std::string& name) const;

    // Restores the backup of that row; when the player changed files since, `messages` asks
    // first. Answers the report for the player, empty when the player declined.
    std::string Restore(std::size_t row, MessageBoxes& messages, ParentWindow parent);

  private:
    ListFunction list_;
    RestoreFunction restore_;
    std::vector<BackupInfo> backups_;
};

// The backups of the session's selected game. `beforeRestore` and `afterRestore` run around each
// restore on the window's thread (the window refreshes its lists after).
BackupsList SessionBackups(PackageSession& session, std::function<void()> beforeRestore,
                           std::function<void()> afterRestore);

}  // namespace wendmoor
