#include "packages/MapSavePackages.h"

#include "packages/Archive.h"
#include "packages/Games.h"
#include "packages/MissionScan.h"
#include "packages/PackagePlan.h"
#include "packages/StoredName.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

// Maps first, each counted, then saves, as both games install them.
PackagePlan MapSavePlan(const std::string& mapsFolder, const std::string& savesFolder,
                        const std::vector<std::string>& maps,
                        const std::vector<std::string>& saves) {
    PackagePlan plan;
    plan.Reserve(maps.size() + saves.size());
    for (const std::string& map : maps) plan.File(mapsFolder, map, true);
    for (const std::string& save : saves) plan.File(savesFolder, save, false);
    return plan;
}

PackagePlan Caesar3Plan(const GamePaths& paths, const std::vector<std::string>& maps,
                        const std::vector<std::string>& saves) {
    // Caesar III keeps its saves beside the maps in the game folder.
    return MapSavePlan(paths.caesar3_path, paths.caesar3_path, maps, saves);
}

PackagePlan PharaoPlan(const GamePaths& paths, const std::vector<std::string>& maps,
                       const std::vector<std::string>& saves) {
    return MapSavePlan(paths.pharao_path + SubFolder("Maps"), paths.pharao_saves, maps, saves);
}

template <typename MakePlan>
Outcome ScanMapSaveMissions(const std::string& missionsFolder, GameEnvironment& environment,
                            PackageLists& lists, MakePlan makePlan) {
    return ScanMissionsFolder(missionsFolder, environment, lists,
                              [&](const std::string& archivePath) -> std::optional<PackagePlan> {
                                  std::vector<std::string> maps, saves, others;
                                  if (!ClassifyMapSaveArchive(archivePath, maps, saves, others)) {
                                      return std::nullopt;
                                  }
                                  return makePlan(environment.paths, maps, saves);
                              });
}

}  // namespace

bool ClassifyMapSaveArchive(const std::string& archivePath, std::vector<std::string>& maps,
                            std::vector<std::string>& saves, std::vector<std::string>& others) {
    std::vector<std::string> names;
    if (!ReadStoredNames(archivePath, names)) return false;
    for (std::string& name : names) {
        const std::string_view extension = ExtensionOf(name);
        if (extension == ".map") {
            maps.push_back(std::move(name));
        } else if (extension == ".sav") {
            saves.push_back(std::move(name));
        } else {
            others.push_back(std::move(name));
        }
    }
    return !maps.empty() || !saves.empty();
}

void ListMapSaveContent(const std::vector<std::string>& maps, const std::vector<std::string>& saves,
                        const std::vector<std::string>& others, ContentLines& lines) {
    for (const std::string& map : maps) lines.push_back("M " + map);
    for (const std::string& save : saves) lines.push_back("S " + save);
    for (const std::string& other : others) lines.push_back("Z " + other);
}

Outcome ScanCaesar3Missions(GameEnvironment& environment, PackageLists& lists) {
    return ScanMapSaveMissions(environment.paths.caesar3_missions, environment, lists, Caesar3Plan);
}

Outcome InstallCaesar3Package(GameEnvironment& environment, const std::string& archivePath,
                              const std::vector<std::string>& maps,
                              const std::vector<std::string>& saves, bool install) {
    return ApplyPackagePlan(archivePath, Caesar3Plan(environment.paths, maps, saves), environment,
                            install);
}

Outcome ScanPharaoMissions(GameEnvironment& environment, PackageLists& lists) {
    return ScanMapSaveMissions(environment.paths.pharao_missions, environment, lists, PharaoPlan);
}

Outcome InstallPharaoPackage(GameEnvironment& environment, const std::string& archivePath,
                             const std::vector<std::string>& maps,
                             const std::vector<std::string>& saves, bool install) {
    return ApplyPackagePlan(archivePath, PharaoPlan(environment.paths, maps, saves), environment,
                            install);
}

}  // namespace wendmoor

namespace wendmoor {

namespace {

bool ShowMapSaveContent(const std::string& archivePath, ContentLines& lines) {
    std::vector<std::string> maps, saves, others;
    if (!ClassifyMapSaveArchive(archivePath, maps, saves, others)) return false;
    ListMapSaveContent(maps, saves, others, lines);
    return true;
}

std::optional<Outcome> RunCaesar3Command(GameEnvironment& environment,
                                         const std::string& archivePath, bool install) {
    std::vector<std::string> maps, saves, others;
    if (!ClassifyMapSaveArchive(archivePath, maps, saves, others)) return std::nullopt;
    return InstallCaesar3Package(environment, archivePath, maps, saves, install);
}

std::optional<Outcome> RunPharaoCommand(GameEnvironment& environment,
                                        const std::string& archivePath, bool install) {
    std::vector<std::string> maps, saves, others;
    if (!ClassifyMapSaveArchive(archivePath, maps, saves, others)) return std::nullopt;
    return InstallPharaoPackage(environment, archivePath, maps, saves, install);
}

}  // namespace

extern const GameDescription kCaesar3Game = {
    kCaesar3,
    "Caesar III",
    "please select all paths for Caesar III!",
    &GamePaths::caesar3_missions,
    &GamePaths::caesar3_path,
    nullptr,
    "c3.exe",
    ScanCaesar3Missions,
    ShowMapSaveContent,
    RunCaesar3Command,
};

extern const GameDescription kPharaoGame = {
    kPharao,
    "Pharao",
    "please select all paths for Pharao!",
    &GamePaths::pharao_missions,
    &GamePaths::pharao_path,
    &GamePaths::pharao_saves,
    "pharaoh.exe",
    ScanPharaoMissions,
    ShowMapSaveContent,
    RunPharaoCommand,
};

}  // namespace wendmoor
