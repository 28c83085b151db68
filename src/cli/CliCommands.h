#pragma once

#include <iosfwd>

#include "cli/CliArguments.h"

namespace wendmoor {

struct GamePaths;
class FileSystem;
class PackageSession;

enum CliExitCode : int { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

// Does what choosing the game in the window does (never asking for folders), then runs the
// command. Items go to `out`, one a line; reasons for failing go to `err`.
int RunCliRequest(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
                  std::ostream& out, std::ostream& err);

// The command alone, on a session whose game has just been selected.
int RunOnSelectedGame(PackageSession& session, const CliRequest& request, std::ostream& out,
                      std::ostream& err);

}  // namespace wendmoor
