#include "packages/EmperorPackages.h"

#include "packages/Archive.h"
#include "packages/Games.h"
#include "packages/MissionScan.h"
#include "packages/PackagePlan.h"
#include "packages/StoredName.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

// The campaign is named by its ".set" up to the first ".set", so ".set" alone names none.
std::string CampaignNameOf(const std::string& setName) {
    return setName.substr(0, setName.find(".set"));
}

// The entry lists of one archive, as the classifier and the campaign split leave them.
struct EmperorEntries {
    std::string pakName, setName;
    std::vector<std::string> maps, saves, others, campaignMaps;
};

// Classifies and splits off the campaign; false when the archive is no package. An archive
// holding nothing but a campaign is refused here too, so what the scan never lists is neither
// shown nor installed.
bool ReadEmperorEntries(const std::string& archivePath, EmperorEntries& entries) {
    return ClassifyEmperorArchive(archivePath, entries.pakName, entries.maps, entries.saves,
                                  entries.setName, entries.others) &&
           SplitCampaignMaps(entries.pakName, entries.maps, entries.setName, entries.campaignMaps,
                             entries.saves);
}

// A campaign name that cannot be a folder of its own gives no folder, and so neither the ".set"
// nor the campaign's maps become steps.
PackagePlan EmperorPlan(const GamePaths& paths, const std::string& pakName,
                        const std::vector<std::string>& maps, const std::vector<std::string>& saves,
                        const std::string& setName, const std::vector<std::string>& campaignMaps) {
    PackagePlan plan;
    const std::string campaigns = paths.emperor_path + SubFolder("Campaigns");
    if (!pakName.empty()) plan.File(campaigns, pakName, false);
    for (const std::string& map : maps) {
        plan.File(paths.emperor_path + SubFolder("Cities"), map, true);
    }
    for (const std::string& save : saves) plan.File(paths.emperor_saves, save, false);
    if (!setName.empty()) {
        const std::string campaignName = CampaignNameOf(setName);
        const std::string campaignFolder = plan.MakeFolder(campaigns, campaignName);
        plan.File(campaignFolder, setName, false);
        for (const std::string& map : campaignMaps) plan.File(campaignFolder, map, false);
        plan.RemoveFolder(campaigns, campaignName);
    }
    return plan;
}

PackagePlan EmperorPlan(const GamePaths& paths, const EmperorEntries& entries) {
    return EmperorPlan(paths, entries.pakName, entries.maps, entries.saves, entries.setName,
                       entries.campaignMaps);
}

}  // namespace

bool ClassifyEmperorArchive(const std::string& archivePath, std::string& pakName,
                            std::vector<std::string>& maps, std::vector<std::string>& saves,
                            std::string& setName, std::vector<std::string>& others) {
    std::vector<std::string> names;
    if (!ReadStoredNames(archivePath, names)) return false;
    for (std::string& name : names) {
        const std::string_view extension = ExtensionOf(name);
        if (extension == ".pak") {
            if (pakName.empty()) pakName = std::move(name);
        } else if (extension == ".map") {
            maps.push_back(std::move(name));
        } else if (extension == ".set") {
            if (setName.empty()) setName = std::move(name);
        } else if (extension == ".sav") {
            saves.push_back(std::move(name));
        } else {
            others.push_back(std::move(name));
        }
    }
    return !pakName.empty() || !maps.empty() || !saves.empty();
}

bool SplitCampaignMaps(const std::string& pakName, std::vector<std::string>& maps,
                       const std::string& setName, std::vector<std::string>& campaignMaps,
                       const std::vector<std::string>& saves) {
    if (!setName.empty()) {
        const std::string campaignName = CampaignNameOf(setName);
        for (std::size_t i = maps.size(); i-- > 0;) {
            if (!maps[i].starts_with(campaignName)) continue;
            campaignMaps.push_back(std::move(maps[i]));
            maps.erase(maps.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return !pakName.empty() || !maps.empty() || !saves.empty();
}

void ListEmperorContent(const std::string& pakName, const std::vector<std::string>& maps,
                        const std::vector<std::string>& saves, const std::string& setName,
                        const std::vector<std::string>& campaignMaps,
                        const std::vector<std::string>& others, ContentLines& lines) {
    if (!pakName.empty()) lines.push_back("C " + pakName);
    for (const std::string& map : maps) lines.push_back("M " + map);
    for (const std::string& save : saves) lines.push_back("S " + save);
    if (!setName.empty()) lines.push_back("E " + setName);
    for (const std::string& map : campaignMaps) lines.push_back("E " + map);
    for (const std::string& other : others) lines.push_back("Z " + other);
}

Outcome ScanEmperorMissions(GameEnvironment& environment, PackageLists& lists) {
    return ScanMissionsFolder(environment.paths.emperor_missions, environment, lists,
                              [&](const std::string& archivePath) -> std::optional<PackagePlan> {
                                  EmperorEntries entries;
                                  if (!ReadEmperorEntries(archivePath, entries))
                                      return std::nullopt;
                                  return EmperorPlan(environment.paths, entries);
                              });
}

Outcome InstallEmperorPackage(GameEnvironment& environment, const std::string& archivePath,
                              const std::string& pakName, const std::vector<std::string>& maps,
                              const std::vector<std::string>& saves, const std::string& setName,
                              const std::vector<std::string>& campaignMaps, bool install) {
    return ApplyPackagePlan(
        archivePath, EmperorPlan(environment.paths, pakName, maps, saves, setName, campaignMaps),
        environment, install);
}

namespace {

bool ShowEmperorContent(const std::string& archivePath, ContentLines& lines) {
    EmperorEntries entries;
    if (!ReadEmperorEntries(archivePath, entries)) return false;
    ListEmperorContent(entries.pakName, entries.maps, entries.saves, entries.setName,
                       entries.campaignMaps, entries.others, lines);
    return true;
}

std::optional<Outcome> RunEmperorCommand(GameEnvironment& environment,
                                         const std::string& archivePath, bool install) {
    EmperorEntries entries;
    if (!ReadEmperorEntries(archivePath, entries)) return std::nullopt;
    return InstallEmperorPackage(environment, archivePath, entries.pakName, entries.maps,
                                 entries.saves, entries.setName, entries.campaignMaps, install);
}

}  // namespace

extern const GameDescription kEmperorGame = {
    kEmperor,
    "Emperor",
    "please select all paths for Emperor!",
    &GamePaths::emperor_missions,
    &GamePaths::emperor_path,
    &GamePaths::emperor_saves,
    "emperor.exe",
    ScanEmperorMissions,
    ShowEmperorContent,
    RunEmperorCommand,
};

}  // namespace wendmoor
