#pragma once

#include <string>
#include <vector>

#include "packages/GameEnvironment.h"
#include "platform/Outcome.h"

namespace wendmoor {

// Emperor packages: a ".pak" installed into "Campaigns", city maps into "Cities" (reference
// counted, as several packages may share them), saved games into the save-game folder, and a
// campaign (one ".set" and the maps named after it) into a folder of its own under
// "Campaigns".

// Sorts the entries, in archive order with duplicates kept; the first ".pak" and the first
// ".set" win, later ones go nowhere. True when the archive could be read and holds a ".pak", a
// map or a save.
bool ClassifyEmperorArchive(const std::string& archivePath, std::string& pakName,
                            std::vector<std::string>& maps, std::vector<std::string>& saves,
                            std::string& setName, std::vector<std::string>& others);

// Moves the campaign's maps, those whose names begin with the campaign's name (letter case
// counts), from `maps` into `campaignMaps`, in reverse archive order. False when what is left
// is no package: no ".pak", no city map and no save.
bool SplitCampaignMaps(const std::string& pakName, std::vector<std::string>& maps,
                       const std::string& setName, std::vector<std::string>& campaignMaps,
                       const std::vector<std::string>& saves);

// "C " for the ".pak", "M " for city maps, "S " for saves, "E " for the campaign's set and
// maps, "Z " for the rest, appended.
void ListEmperorContent(const std::string& pakName, const std::vector<std::string>& maps,
                        const std::vector<std::string>& saves, const std::string& setName,
                        const std::vector<std::string>& campaignMaps,
                        const std::vector<std::string>& others, ContentLines& lines);

Outcome ScanEmperorMissions(GameEnvironment& environment, PackageLists& lists);

// Installs in the order ".pak", city maps, saves, campaign. Install creates the campaign folder;
// deinstall removes it again when it is left empty.
Outcome InstallEmperorPackage(GameEnvironment& environment, const std::string& archivePath,
                              const std::string& pakName, const std::vector<std::string>& maps,
                              const std::vector<std::string>& saves, const std::string& setName,
                              const std::vector<std::string>& campaignMaps, bool install);

}  // namespace wendmoor
