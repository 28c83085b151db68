#include "packages/ZeusPackages.h"

#include <algorithm>

#include "packages/Archive.h"
#include "packages/Games.h"
#include "packages/MissionScan.h"
#include "packages/PackagePlan.h"
#include "packages/StoredName.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

// The adventure's name is the ".pak" name up to its first ".pak", so "Troy.pak.pak" is Troy;
// a name that begins with ".pak" names no adventure.
std::string AdventureNameOf(const std::string& pakName) {
    const auto pak = pakName.find(".pak");
    if (pak == std::string::npos || pak == 0) return {};
    return pakName.substr(0, pak);
}

// The adventure's files go into its own folder, which the install creates and the deinstall
// removes once it is empty; files the game wrote there keep it. Without an adventure name the
// files go into "Adventures" itself, which is never created or removed. An adventure name that
// cannot be a folder of its own gives no folder, and so none of the adventure's files become
// steps.
PackagePlan ZeusPlan(const GamePaths& paths, const std::string& pakName, const std::string& txtName,
                     const std::string& adventureName, const std::vector<std::string>& saves,
                     const std::vector<std::string>& setsAndMaps) {
    PackagePlan plan;
    const std::string adventures = paths.zeus_path + SubFolder("Adventures");
    const std::string adventureFolder = plan.MakeFolder(adventures, adventureName);
    if (!pakName.empty()) plan.File(adventureFolder, pakName, false);
    if (!txtName.empty()) plan.File(adventureFolder, txtName, false);
    for (const std::string& name : setsAndMaps) plan.File(adventureFolder, name, false);
    plan.RemoveFolder(adventures, adventureName);
    for (const std::string& save : saves) plan.File(paths.zeus_saves, save, false);
    return plan;
}

// The entry lists of one archive, as the classifier leaves them.
struct ZeusEntries {
    std::string pakName, txtName, adventureName;
    std::vector<std::string> saves, setsAndMaps, others;
};

// Classifies; false when the archive is no package. An adventure whose name cannot be a folder
// installs nothing, so without saves the archive is refused here too: otherwise it would show as
// installed with not one file in place.
bool ReadZeusEntries(const std::string& archivePath, ZeusEntries& entries) {
    return ClassifyZeusArchive(archivePath, entries.pakName, entries.txtName, entries.saves,
                               entries.setsAndMaps, entries.others, entries.adventureName) &&
           (!entries.saves.empty() || IsSafeFileName(entries.adventureName));
}

PackagePlan ZeusPlan(const GamePaths& paths, const ZeusEntries& entries) {
    return ZeusPlan(paths, entries.pakName, entries.txtName, entries.adventureName, entries.saves,
                    entries.setsAndMaps);
}

}  // namespace

bool ClassifyZeusArchive(const std::string& archivePath, std::string& pakName, std::string& txtName,
                         std::vector<std::string>& saves, std::vector<std::string>& setsAndMaps,
                         std::vector<std::string>& others, std::string& adventureName) {
    std::vector<std::string> names;
    if (!ReadStoredNames(archivePath, names)) return false;
    std::vector<std::string> textNames;
    for (std::string& name : names) {
        const std::string_view extension = ExtensionOf(name);
        if (extension == ".pak") {
            pakName = std::move(name);
        } else if (extension == ".txt") {
            textNames.push_back(std::move(name));
        } else if (extension == ".sav") {
            saves.push_back(std::move(name));
        } else if (extension == ".set" || extension == ".map") {
            setsAndMaps.push_back(std::move(name));
        } else {
            others.push_back(std::move(name));
        }
    }
    adventureName = AdventureNameOf(pakName);
    if (!adventureName.empty()) {
        const std::string adventureText = adventureName + ".txt";
        if (std::find(textNames.begin(), textNames.end(), adventureText) != textNames.end()) {
            txtName = adventureText;
        }
    }
    return !saves.empty() || !adventureName.empty();
}

void ListZeusContent(const std::string& pakName, const std::string& txtName,
                     const std::vector<std::string>& saves,
                     const std::vector<std::string>& setsAndMaps,
                     const std::vector<std::string>& others, ContentLines& lines) {
    if (!pakName.empty()) lines.push_back("A " + pakName);
    if (!txtName.empty()) lines.push_back("A " + txtName);
    for (const std::string& save : saves) lines.push_back("S " + save);
    for (const std::string& name : setsAndMaps) lines.push_back("E " + name);
    for (const std::string& other : others) lines.push_back("Z " + other);
}

Outcome ScanZeusMissions(GameEnvironment& environment, PackageLists& lists) {
    return ScanMissionsFolder(environment.paths.zeus_missions, environment, lists,
                              [&](const std::string& archivePath) -> std::optional<PackagePlan> {
                                  ZeusEntries entries;
                                  if (!ReadZeusEntries(archivePath, entries)) return std::nullopt;
                                  return ZeusPlan(environment.paths, entries);
                              });
}

Outcome InstallZeusPackage(GameEnvironment& environment, const std::string& archivePath,
                           const std::string& pakName, const std::string& txtName,
                           const std::string& adventureName, const std::vector<std::string>& saves,
                           const std::vector<std::string>& setsAndMaps, bool install) {
    return ApplyPackagePlan(
        archivePath,
        ZeusPlan(environment.paths, pakName, txtName, adventureName, saves, setsAndMaps),
        environment, install);
}

namespace {

bool ShowZeusContent(const std::string& archivePath, ContentLines& lines) {
    ZeusEntries entries;
    if (!ReadZeusEntries(archivePath, entries)) return false;
    ListZeusContent(entries.pakName, entries.txtName, entries.saves, entries.setsAndMaps,
                    entries.others, lines);
    return true;
}

std::optional<Outcome> RunZeusCommand(GameEnvironment& environment, const std::string& archivePath,
                                      bool install) {
    ZeusEntries entries;
    if (!ReadZeusEntries(archivePath, entries)) return std::nullopt;
    return InstallZeusPackage(environment, archivePath, entries.pakName, entries.txtName,
                              entries.adventureName, entries.saves, entries.setsAndMaps, install);
}

}  // namespace

extern const GameDescription kZeusGame = {
    kZeus,
    "Zeus",
    "please select all paths for Zeus!",
    &GamePaths::zeus_missions,
    &GamePaths::zeus_path,
    &GamePaths::zeus_saves,
    "zeus.exe",
    ScanZeusMissions,
    ShowZeusContent,
    RunZeusCommand,
};

}  // namespace wendmoor
