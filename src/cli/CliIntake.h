#pragma once

#include <iosfwd>

#include "cli/CliArguments.h"

namespace wendmoor {

struct FinderPlaces;
struct GamePaths;
class FileSystem;

// `detect`: what the finder finds, as the [General] section of a settings file with a ";"
// comment per candidate; the first candidate of a row is taken. Reads and writes no settings.
// Exit 0 when a game folder was found, 1 (and a reason) when none was.
int RunDetect(const FinderPlaces& places, std::ostream& out, std::ostream& err);
// The command table's handler of `detect`: RunDetect on the places of this user and system.
int RunDetectHere(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
                  std::ostream& out, std::ostream& err);

// `add`: copies each file into the game's missions folder (see AddPackageFile; a same-named
// file with other bytes is kept and the new one added as "NAME (2).zip") and prints the name
// each has there; with --install, installs each added package. A file that is refused or
// cannot be added gets a reason on `err` and exit 1; the others are still added.
int RunAdd(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
           std::ostream& err);

}  // namespace wendmoor
