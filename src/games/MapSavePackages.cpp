#include "games/MapSavePackages.h"

#include "archive/Archive.h"
#include "archive/StoredName.h"
#include "games/Games.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

// Maps first, each counted, then saves, as both games install them.
PackagePlan MapSavePlan(const std::string& mapsFolder, const std::string& savesFolder,
                        const MapSaveEntries& entries) {
    PackagePlan plan;
    plan.Reserve(entries.maps.size() + entries.saves.size());
    for (const std::string& map : entries.maps) plan.File(mapsFolder, map, true);
    for (const std::string& save : entries.saves) plan.File(savesFolder, save, false);
    return plan;
}

}  // namespace

std::optional<MapSaveEntries> ClassifyMapSaveArchive(const std::string& archivePath,
                                                     Outcome* unreadable) {
    MapSaveEntries entries;
    std::optional<std::vector<std::string>> read =
        NamesToClassify(archivePath, &entries.earlierSpellings, unreadable);
    if (!read) return std::nullopt;
    std::vector<std::string>& names = *read;
    for (std::string& name : names) {
        const std::string_view extension = ExtensionOf(name);
        if (extension == ".map") {
            entries.maps.push_back(std::move(name));
        } else if (extension == ".sav") {
            entries.saves.push_back(std::move(name));
        } else {
            entries.others.push_back(std::move(name));
        }
    }
    if (entries.maps.empty() && entries.saves.empty()) return std::nullopt;
    return entries;
}

ContentLines ListMapSaveContent(const MapSaveEntries& entries) {
    ContentLines lines;
    for (const std::string& map : entries.maps) lines.push_back("M " + map);
    for (const std::string& save : entries.saves) lines.push_back("S " + save);
    for (const std::string& other : entries.others) lines.push_back("Z " + other);
    return lines;
}

PackagePlan Caesar3Plan(const GamePaths& paths, const MapSaveEntries& entries) {
    // Caesar III keeps its saves beside the maps in the game folder.
    return MapSavePlan(paths.caesar3_path, paths.caesar3_path, entries);
}

PackagePlan PharaoPlan(const GamePaths& paths, const MapSaveEntries& entries) {
    return MapSavePlan(paths.pharao_path + SubFolder("Maps"), paths.pharao_saves, entries);
}

extern const GameDescription kCaesar3Game = {
    kCaesar3,
    "Caesar III",
    "please select all paths for Caesar III!",
    &GamePaths::caesar3_missions,
    &GamePaths::caesar3_path,
    nullptr,
    "c3.exe",
    PlanOf<ClassifyMapSaveArchive, Caesar3Plan>,
    ContentOf<ClassifyMapSaveArchive, ListMapSaveContent>,
    {{{&GamePaths::caesar3_path}}},
};

extern const GameDescription kPharaoGame = {
    kPharao,
    "Pharao",
    "please select all paths for Pharao!",
    &GamePaths::pharao_missions,
    &GamePaths::pharao_path,
    &GamePaths::pharao_saves,
    "pharaoh.exe",
    PlanOf<ClassifyMapSaveArchive, PharaoPlan>,
    ContentOf<ClassifyMapSaveArchive, ListMapSaveContent>,
    {{{&GamePaths::pharao_path, "Maps"}, {&GamePaths::pharao_saves}}},
};

}  // namespace wendmoor
