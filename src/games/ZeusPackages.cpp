#include "games/ZeusPackages.h"

#include <algorithm>

#include "archive/Archive.h"
#include "archive/StoredName.h"
#include "games/Games.h"
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

}  // namespace

std::optional<ZeusEntries> ClassifyZeusArchive(const std::string& archivePath,
                                               Outcome* unreadable) {
    ZeusEntries entries;
    std::optional<std::vector<std::string>> read =
        NamesToClassify(archivePath, &entries.earlierSpellings, unreadable);
    if (!read) return std::nullopt;
    std::vector<std::string>& names = *read;
    std::vector<std::string> textNames;
    for (std::string& name : names) {
        const std::string_view extension = ExtensionOf(name);
        if (extension == ".pak") {
            entries.pakName = std::move(name);
        } else if (extension == ".txt") {
            textNames.push_back(std::move(name));
        } else if (extension == ".sav") {
            entries.saves.push_back(std::move(name));
        } else if (extension == ".set" || extension == ".map") {
            entries.setsAndMaps.push_back(std::move(name));
        } else {
            entries.others.push_back(std::move(name));
        }
    }
    entries.adventureName = AdventureNameOf(entries.pakName);
    if (!entries.adventureName.empty() && !IsSafeFileName(entries.adventureName)) {
        // "..pak" and "...pak" name the adventures "." and "..", which can be no folder of
        // their own: the adventure's files are shown as what they are, files never installed,
        // so the content and the install agree.
        entries.others.push_back(std::move(entries.pakName));
        for (std::string& name : entries.setsAndMaps) entries.others.push_back(std::move(name));
        entries.pakName.clear();
        entries.setsAndMaps.clear();
        entries.adventureName.clear();
    }
    if (!entries.adventureName.empty()) {
        const std::string adventureText = entries.adventureName + ".txt";
        if (std::find(textNames.begin(), textNames.end(), adventureText) != textNames.end()) {
            entries.txtName = adventureText;
        }
    }
    if (entries.saves.empty() && entries.adventureName.empty()) return std::nullopt;
    return entries;
}

ContentLines ListZeusContent(const ZeusEntries& entries) {
    ContentLines lines;
    if (!entries.pakName.empty()) lines.push_back("A " + entries.pakName);
    if (!entries.txtName.empty()) lines.push_back("A " + entries.txtName);
    for (const std::string& save : entries.saves) lines.push_back("S " + save);
    for (const std::string& name : entries.setsAndMaps) lines.push_back("E " + name);
    for (const std::string& other : entries.others) lines.push_back("Z " + other);
    return lines;
}

// The adventure's files go into its own folder, which the install creates and the deinstall
// removes once it is empty; files the game wrote there keep it. Without an adventure name the
// files go into "Adventures" itself, which is never created or removed. An adventure name that
// cannot be a folder of its own gives no folder, and so none of the adventure's files become
// steps.
PackagePlan ZeusPlan(const GamePaths& paths, const ZeusEntries& entries) {
    PackagePlan plan;
    const std::string adventures = paths.zeus_path + SubFolder("Adventures");
    const std::string adventureFolder = plan.MakeFolder(adventures, entries.adventureName);
    if (!entries.pakName.empty()) plan.File(adventureFolder, entries.pakName, false);
    if (!entries.txtName.empty()) plan.File(adventureFolder, entries.txtName, false);
    for (const std::string& name : entries.setsAndMaps) plan.File(adventureFolder, name, false);
    plan.RemoveFolder(adventures, entries.adventureName);
    for (const std::string& save : entries.saves) plan.File(paths.zeus_saves, save, false);
    return plan;
}

extern const GameDescription kZeusGame = {
    kZeus,
    "Zeus",
    "please select all paths for Zeus!",
    &GamePaths::zeus_missions,
    &GamePaths::zeus_path,
    &GamePaths::zeus_saves,
    "zeus.exe",
    PlanOf<ClassifyZeusArchive, ZeusPlan>,
    ContentOf<ClassifyZeusArchive, ListZeusContent>,
    {{{&GamePaths::zeus_path, "Adventures", true}, {&GamePaths::zeus_saves}}},
};

}  // namespace wendmoor
