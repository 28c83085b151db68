#pragma once

#include <string>
#include <vector>

#include "packages/GameEnvironment.h"
#include "platform/Outcome.h"

namespace wendmoor {

// Caesar III and Pharao packages: maps (".map") and saved games (".sav").

// Sorts the entries into maps, saves and other files, in archive order, duplicates kept.
// True when the archive could be read and holds a map or a save.
bool ClassifyMapSaveArchive(const std::string& archivePath, std::vector<std::string>& maps,
                            std::vector<std::string>& saves, std::vector<std::string>& others);

// "M ", "S " and "Z " lines, appended.
void ListMapSaveContent(const std::vector<std::string>& maps, const std::vector<std::string>& saves,
                        const std::vector<std::string>& others, ContentLines& lines);

// Caesar III: maps and saves go into the game folder; maps are reference counted.
Outcome ScanCaesar3Missions(GameEnvironment& environment, PackageLists& lists);
Outcome InstallCaesar3Package(GameEnvironment& environment, const std::string& archivePath,
                              const std::vector<std::string>& maps,
                              const std::vector<std::string>& saves, bool install);

// Pharao: maps go into "Maps" of the game folder (counted), saves into the save-game folder.
Outcome ScanPharaoMissions(GameEnvironment& environment, PackageLists& lists);
Outcome InstallPharaoPackage(GameEnvironment& environment, const std::string& archivePath,
                             const std::vector<std::string>& maps,
                             const std::vector<std::string>& saves, bool install);

}  // namespace wendmoor
