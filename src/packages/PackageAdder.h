#pragma once

#include <functional>
#include <string>

#include "platform/Outcome.h"
#include "platform/PackageLock.h"

namespace wendmoor {

struct GameDescription;
struct GamePaths;
class FileSystem;

// What became of one file handed to AddPackageFile: `outcome` says what failed and why (the
// file is no package of the game, it or the missions folder cannot be read or written, another
// command holds the folder); the rest tells what was done.
struct AddResult {
    enum class Done {
        Nothing,       // failed, or a file of that name with other bytes is there and the player
                       // kept it alone
        Copied,        // copied into the missions folder as `name`
        AlreadyThere,  // a file with the same bytes is there as `name`: nothing copied
    };
    Outcome outcome;
    Done done = Done::Nothing;
    std::string name;  // the file's name in the missions folder (Copied, AlreadyThere)
};

// Asked when the missions folder holds a file of the same name, in any letter case, with other
// bytes: true keeps both, the new file taking `keptName` ("Troy (2).zip"); false skips it.
using KeepBothQuestion =
    std::function<bool(const std::string& existingName, const std::string& keptName)>;

// Copies a package from anywhere into the game's missions folder. The file must be a package of
// the game (its classifier decides); a file already there is never overwritten, and a file whose
// bytes are there already under any name is not copied again. The copy is written beside its
// target and renamed into place only when complete. The missions folder is held exclusively
// (see PackageLock; `keepWaiting` as there) while it is looked at and written, but not while
// the question is asked.
[[nodiscard]] AddResult AddPackageFile(FileSystem& fileSystem, const GameDescription& game,
                                       const GamePaths& paths, const std::string& file,
                                       const KeepBothQuestion& keepBoth,
                                       const PackageLock::KeepWaiting& keepWaiting = {});

}  // namespace wendmoor
