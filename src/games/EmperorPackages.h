#pragma once

#include <optional>
#include <string>
#include <vector>

#include "games/ContentLines.h"
#include "games/PackagePlan.h"
#include "platform/Outcome.h"

namespace wendmoor {

struct GamePaths;

// Emperor packages: a ".pak" installed into "Campaigns", city maps into "Cities" (reference
// counted, as several packages may share them), saved games into the save-game folder, and a
// campaign (one ".set" and the maps named after it) into a folder of its own under
// "Campaigns".

// The entries of an archive, in archive order with duplicates kept; the first ".pak" and the
// first ".set" win, later ones go nowhere. The campaign's maps are those named after it.
struct EmperorEntries {
    std::string pakName, setName;
    std::vector<std::string> maps, saves, others, campaignMaps;
    EarlierSpellings earlierSpellings;
};

// Moves the campaign's maps, those whose names begin with the campaign's name (letter case
// counts), from `maps` into `campaignMaps`, in reverse archive order. False when what is left
// is no package: no ".pak", no city map and no save.
bool SplitCampaignMaps(EmperorEntries& entries);

// Classifies and splits off the campaign. Nothing when the archive cannot be read (`unreadable`
// then tells why) or holds no ".pak", no city map and no save: an archive holding nothing but
// a campaign is no package.
std::optional<EmperorEntries> ClassifyEmperorArchive(const std::string& archivePath,
                                                     Outcome* unreadable = nullptr);

// "C " for the ".pak", "M " for city maps, "S " for saves, "E " for the campaign's set and
// maps, "Z " for the rest.
ContentLines ListEmperorContent(const EmperorEntries& entries);

// Installs in the order ".pak", city maps, saves, campaign. Install creates the campaign folder;
// deinstall removes it again when it is left empty.
PackagePlan EmperorPlan(const GamePaths& paths, const EmperorEntries& entries);

}  // namespace wendmoor
