#pragma once

#include <iosfwd>

#include "cli/CliArguments.h"
#include "platform/PackageLock.h"

namespace wendmoor {

struct GamePaths;
class FileSystem;

enum CliExitCode : int { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

// --no-wait: a folder held by another command fails at once instead of being waited for.
PackageLock::KeepWaiting KeepWaitingFor(const CliRequest& request);

// The command table's handlers for one game's packages (see CliHandler). Each does what
// choosing the game in the window does, never asking for folders, then runs the command.
// list: "I NAME" per installed and "A NAME" per available package.
int RunList(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
            std::ostream& err);
// show: the package's content lines, as the window shows them.
int RunShow(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
            std::ostream& err);
// install, deinstall: the command, then the lists as list prints them and the files kept.
int RunInstallOrDeinstall(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
                          std::ostream& out, std::ostream& err);
// refs: "COUNT FILE" per reference-counted file.
int RunRefs(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
            std::ostream& err);
// backups, backups --remove, restore: on the backup store (see RunBackupCommand).
int RunBackups(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
               std::ostream& out, std::ostream& err);

}  // namespace wendmoor
