#pragma once

#include <optional>
#include <string>
#include <vector>

#include "games/ContentLines.h"
#include "games/PackagePlan.h"
#include "platform/Outcome.h"

namespace wendmoor {

struct GamePaths;

// Caesar III and Pharao packages: maps (".map") and saved games (".sav").

// The entries of an archive sorted into maps, saves and other files, in archive order,
// duplicates kept.
struct MapSaveEntries {
    std::vector<std::string> maps, saves, others;
    EarlierSpellings earlierSpellings;
};

// Nothing when the archive cannot be read (`unreadable` then tells why) or holds neither a map nor
// a save.
std::optional<MapSaveEntries> ClassifyMapSaveArchive(const std::string& archivePath,
                                                     Outcome* unreadable = nullptr);

// "M ", "S " and "Z " lines.
ContentLines ListMapSaveContent(const MapSaveEntries& entries);

// Caesar III: maps and saves go into the game folder; maps are reference counted.
PackagePlan Caesar3Plan(const GamePaths& paths, const MapSaveEntries& entries);

// Pharao: maps go into "Maps" of the game folder (counted), saves into the save-game folder.
PackagePlan PharaoPlan(const GamePaths& paths, const MapSaveEntries& entries);

}  // namespace wendmoor
