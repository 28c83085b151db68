#pragma once

#include <optional>
#include <string>
#include <vector>

#include "games/ContentLines.h"
#include "games/PackagePlan.h"
#include "platform/Outcome.h"

namespace wendmoor {

struct GamePaths;

// Zeus packages: an adventure (one ".pak" naming it, an optional text file of the same name,
// ".set" and ".map" files) installed into a folder of its own under "Adventures", and saved
// games installed into the save-game folder. Nothing is reference counted.

// The entries of an archive, in archive order with duplicates kept. The last ".pak" wins and
// names the adventure (its name up to the first ".pak"); the text file is taken only when the
// archive holds exactly the adventure's name with ".txt". Other ".pak" and ".txt" entries go
// nowhere.
struct ZeusEntries {
    std::string pakName, txtName, adventureName;
    std::vector<std::string> saves, setsAndMaps, others;
    EarlierSpellings earlierSpellings;
};

// Nothing when the archive cannot be read (`unreadable` then tells why) or holds neither a save nor
// an adventure that can be placed: an adventure whose name cannot be a folder installs nothing, and
// would otherwise show as installed with not one file in place.
std::optional<ZeusEntries> ClassifyZeusArchive(const std::string& archivePath,
                                               Outcome* unreadable = nullptr);

// "A " lines for the ".pak" and the text file, "S " for saves, "E " for sets and maps, "Z " for
// the rest.
ContentLines ListZeusContent(const ZeusEntries& entries);

// Install creates the adventure folder; deinstall removes it again when it is left empty.
PackagePlan ZeusPlan(const GamePaths& paths, const ZeusEntries& entries);

}  // namespace wendmoor
