#include "cli/CliBackups.h"

#include <ostream>

#include "cli/CliCommands.h"
#include "packages/BackupRestore.h"
#include "packages/BackupStore.h"
#include "packages/Games.h"
#include "platform/FileSystem.h"

namespace wendmoor {

namespace {

int Failed(const Outcome& outcome, std::ostream& err) {
    for (const std::string& line : outcome.Lines()) err << "wendmoor-cli: " << line << '\n';
    return outcome.Ok() ? kExitSuccess : kExitFailure;
}

void PrintBackups(const std::string& store, const std::string& game, std::ostream& out) {
    for (const BackupInfo& backup : ListBackups(store, game)) {
        const std::size_t files = backup.files.size();
        out << backup.name << '\t' << backup.time << '\t' << backup.package << '\t'
            << backup.command << '\t' << files << (files == 1 ? " file" : " files") << '\t'
            << backup.Size() << " bytes\n";
    }
}

}  // namespace

void PrintKept(const KeptFiles& kept, std::ostream& err) {
    for (const std::string& file : kept.files)
        err << "kept " << file << " in " << kept.folder << '\n';
}

bool IsBackupCommand(CliCommand command) {
    return command == CliCommand::Backups || command == CliCommand::Restore ||
           command == CliCommand::RemoveBackup;
}

int RunBackupCommand(const CliRequest& request, const std::string& store,
                     const RestoreFolders& folders, const PackageLock::KeepWaiting& keepWaiting,
                     std::ostream& out, std::ostream& err) {
    const std::string game = BackupGameKey(request.game);
    if (request.command == CliCommand::Backups) {
        const Outcome swept = SweepBackupStore(store);
        PrintBackups(store, game, out);
        return Failed(swept, err);
    }
    PackageLock lock;
    if (Outcome locked = lock.Acquire(PackageLock::Mode::Exclusive, keepWaiting); !locked.Ok()) {
        return Failed(locked, err);
    }
    if (request.command == CliCommand::RemoveBackup) {
        return Failed(RemoveBackup(store, game, request.backupName), err);
    }
    FileSystem fileSystem;
    const RestoreResult result =
        RestoreBackup(store, game, request.backupName, request.force, folders, fileSystem);
    PrintKept(result.kept, err);
    for (const std::string& file : result.restored) out << "restored " << file << '\n';
    return Failed(result.outcome, err);
}

}  // namespace wendmoor
