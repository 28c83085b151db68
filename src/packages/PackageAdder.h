#pragma once

#include <functional>
#include <string>

namespace wendmoor {

struct GameDescription;
struct GamePaths;
class FileSystem;

// What became of one file handed to AddPackageFile.
struct AddResult {
    enum class Outcome {
        Added,         // copied into the missions folder as `name`
        AlreadyThere,  // a file of that name with the same bytes is there: nothing copied
        Skipped,       // a file of that name with other bytes is there and the player kept it alone
        Refused,       // no package of the game: nothing copied
        Failed,        // could not be read or copied: nothing copied
    };
    Outcome outcome = Outcome::Failed;
    std::string name;    // the file's name in the missions folder (Added, AlreadyThere)
    std::string reason;  // why (Refused, Failed)
};

// Asked when the missions folder holds a file of the same name, in any letter case, with other
// bytes: true keeps both, the new file taking `keptName` ("Troy (2).zip"); false skips it.
using KeepBothQuestion =
    std::function<bool(const std::string& existingName, const std::string& keptName)>;

// Copies a package from anywhere into the game's missions folder. The file must be a package of
// the game (its classifier decides); a file already there is never overwritten. The copy is
// written beside its target and renamed into place only when complete.
[[nodiscard]] AddResult AddPackageFile(FileSystem& fileSystem, const GameDescription& game,
                                       const GamePaths& paths, const std::string& file,
                                       const KeepBothQuestion& keepBoth);

}  // namespace wendmoor
