#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "backups/BackupRestore.h"
#include "cli/CliArguments.h"
#include "platform/PackageLock.h"

namespace wendmoor {

struct KeptFiles;

// "kept FILE in BACKUP", one line per file a command kept.
void PrintKept(const KeptFiles& kept, std::ostream& err);

// The backup commands work on the backup store alone, never on the game's folders settings:
// "backups" lists the game's backups newest first ("NAME<tab>TIME<tab>PACKAGE<tab>COMMAND<tab>
// N files<tab>SIZE bytes"), "backups --remove" deletes one, "restore" puts one back under the
// exclusive lock ("restored FILE" per file on `out`). `gameFolders` are those restore locks
// (see GameFolders); it writes only into `restoreFolders`, the game's.
int RunBackupCommand(const CliRequest& request, const std::string& store,
                     const std::vector<std::string>& gameFolders,
                     const RestoreFolders& restoreFolders,
                     const PackageLock::KeepWaiting& keepWaiting, std::ostream& out,
                     std::ostream& err);

}  // namespace wendmoor
