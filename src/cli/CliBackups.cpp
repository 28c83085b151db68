#include "cli/CliBackups.h"

#include <ostream>

#include "backups/BackupRestore.h"
#include "backups/BackupStore.h"
#include "cli/CliCommands.h"
#include "cli/CliText.h"
#include "games/Games.h"
#include "platform/FileSystem.h"

namespace wendmoor {

namespace {

int Failed(const Outcome& outcome, std::ostream& err) {
    for (const std::string& line : outcome.Lines()) PrintFailure(err, line);
    return outcome.Ok() ? kExitSuccess : kExitFailure;
}

void PrintBackups(const std::string& store, const std::string& game, std::ostream& out) {
    for (const BackupInfo& backup : ListBackups(store, game)) {
        const std::size_t files = backup.files.size();
        out << PrintableName(backup.name) << '\t' << backup.time << '\t'
            << PrintableName(backup.package) << '\t' << backup.command << '\t' << files
            << (files == 1 ? " file" : " files") << '\t' << backup.Size() << " bytes\n";
    }
}

}  // namespace

void PrintKept(const KeptFiles& kept, std::ostream& err) {
    for (const std::string& file : kept.files)
        err << "kept " << PrintableName(file) << " in " << PrintableName(kept.folder) << '\n';
}

int RunBackupCommand(const CliRequest& request, const std::string& store,
                     const std::vector<std::string>& gameFolders,
                     const RestoreFolders& restoreFolders,
                     const PackageLock::KeepWaiting& keepWaiting, std::ostream& out,
                     std::ostream& err) {
    const std::string game = BackupGameKey(request.game);
    // Listing reads the store, removing writes it, restoring writes the game's folders too.
    std::vector<std::string> lockedFolders{store};
    if (request.command == CliCommand::Restore) {
        lockedFolders.insert(lockedFolders.end(), gameFolders.begin(), gameFolders.end());
    }
    const auto mode = request.command == CliCommand::Backups ? PackageLock::Mode::Shared
                                                             : PackageLock::Mode::Exclusive;
    PackageLock lock;
    if (Outcome locked = lock.Acquire(mode, lockedFolders, keepWaiting); !locked.Ok()) {
        return Failed(locked, err);
    }
    if (request.command == CliCommand::Backups) {
        const Outcome swept = SweepBackupStore(store);
        PrintBackups(store, game, out);
        return Failed(swept, err);
    }
    if (request.command == CliCommand::RemoveBackup) {
        return Failed(RemoveBackup(store, game, request.backupName), err);
    }
    FileSystem fileSystem;
    const RestoreResult result =
        RestoreBackup(store, game, request.backupName, request.force, restoreFolders, fileSystem);
    PrintKept(result.kept, err);
    for (const std::string& file : result.restored)
        out << "restored " << PrintableName(file) << '\n';
    return Failed(result.outcome, err);
}

}  // namespace wendmoor
