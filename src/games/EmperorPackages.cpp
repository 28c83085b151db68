#include "games/EmperorPackages.h"

#include "archive/Archive.h"
#include "archive/StoredName.h"
#include "games/Games.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

// The campaign is named by its ".set" up to the first ".set", so ".set" alone names none.
std::string CampaignNameOf(const std::string& setName) {
    return setName.substr(0, setName.find(".set"));
}

}  // namespace

bool SplitCampaignMaps(EmperorEntries& entries) {
    if (!entries.setName.empty()) {
        const std::string campaignName = CampaignNameOf(entries.setName);
        std::vector<std::string>& maps = entries.maps;
        for (std::size_t i = maps.size(); i-- > 0;) {
            if (!maps[i].starts_with(campaignName)) continue;
            entries.campaignMaps.push_back(std::move(maps[i]));
            maps.erase(maps.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return !entries.pakName.empty() || !entries.maps.empty() || !entries.saves.empty();
}

std::optional<EmperorEntries> ClassifyEmperorArchive(const std::string& archivePath,
                                                     Outcome* unreadable) {
    EmperorEntries entries;
    std::optional<std::vector<std::string>> read =
        NamesToClassify(archivePath, &entries.earlierSpellings, unreadable);
    if (!read) return std::nullopt;
    std::vector<std::string>& names = *read;
    for (std::string& name : names) {
        const std::string_view extension = ExtensionOf(name);
        if (extension == ".pak") {
            if (entries.pakName.empty()) entries.pakName = std::move(name);
        } else if (extension == ".map") {
            entries.maps.push_back(std::move(name));
        } else if (extension == ".set") {
            if (entries.setName.empty()) entries.setName = std::move(name);
        } else if (extension == ".sav") {
            entries.saves.push_back(std::move(name));
        } else {
            entries.others.push_back(std::move(name));
        }
    }
    // "..set" and "...set" name the campaigns "." and "..", which can be no folder of their own:
    // the ".set" is shown as a file never installed, and the maps stay city maps, so the
    // content and the install agree. ".set" alone names the campaign that lives in "Campaigns".
    if (const std::string campaign = CampaignNameOf(entries.setName);
        !campaign.empty() && !IsSafeFileName(campaign)) {
        entries.others.push_back(std::move(entries.setName));
        entries.setName.clear();
    }
    if (!SplitCampaignMaps(entries)) return std::nullopt;
    return entries;
}

ContentLines ListEmperorContent(const EmperorEntries& entries) {
    ContentLines lines;
    if (!entries.pakName.empty()) lines.push_back("C " + entries.pakName);
    for (const std::string& map : entries.maps) lines.push_back("M " + map);
    for (const std::string& save : entries.saves) lines.push_back("S " + save);
    if (!entries.setName.empty()) lines.push_back("E " + entries.setName);
    for (const std::string& map : entries.campaignMaps) lines.push_back("E " + map);
    for (const std::string& other : entries.others) lines.push_back("Z " + other);
    return lines;
}

// A campaign name that cannot be a folder of its own gives no folder, and so neither the ".set"
// nor the campaign's maps become steps.
PackagePlan EmperorPlan(const GamePaths& paths, const EmperorEntries& entries) {
    PackagePlan plan;
    const std::string campaigns = paths.emperor_path + SubFolder("Campaigns");
    if (!entries.pakName.empty()) plan.File(campaigns, entries.pakName, false);
    for (const std::string& map : entries.maps) {
        plan.File(paths.emperor_path + SubFolder("Cities"), map, true);
    }
    for (const std::string& save : entries.saves) plan.File(paths.emperor_saves, save, false);
    if (!entries.setName.empty()) {
        const std::string campaignName = CampaignNameOf(entries.setName);
        const std::string campaignFolder = plan.MakeFolder(campaigns, campaignName);
        plan.File(campaignFolder, entries.setName, false);
        for (const std::string& map : entries.campaignMaps) plan.File(campaignFolder, map, false);
        plan.RemoveFolder(campaigns, campaignName);
    }
    return plan;
}

extern const GameDescription kEmperorGame = {
    kEmperor,
    "Emperor",
    "please select all paths for Emperor!",
    &GamePaths::emperor_missions,
    &GamePaths::emperor_path,
    &GamePaths::emperor_saves,
    "emperor.exe",
    PlanOf<ClassifyEmperorArchive, EmperorPlan>,
    ContentOf<ClassifyEmperorArchive, ListEmperorContent>,
    {{{&GamePaths::emperor_path, "Campaigns", true},
      {&GamePaths::emperor_path, "Cities"},
      {&GamePaths::emperor_saves}}},
};

}  // namespace wendmoor
