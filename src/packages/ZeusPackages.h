#pragma once

#include <string>
#include <vector>

#include "packages/GameEnvironment.h"
#include "platform/Outcome.h"

namespace wendmoor {

// Zeus packages: an adventure (one ".pak" naming it, an optional text file of the same name,
// ".set" and ".map" files) installed into a folder of its own under "Adventures", and saved
// games installed into the save-game folder. Nothing is reference counted.

// Sorts the entries, in archive order with duplicates kept. The last ".pak" wins and names the
// adventure (its name up to the first ".pak"); the text file is taken only when the archive
// holds exactly the adventure's name with ".txt". Other ".pak" and ".txt" entries go nowhere.
// True when the archive could be read and holds a save or an adventure name.
bool ClassifyZeusArchive(const std::string& archivePath, std::string& pakName, std::string& txtName,
                         std::vector<std::string>& saves, std::vector<std::string>& setsAndMaps,
                         std::vector<std::string>& others, std::string& adventureName);

// "A " lines for the ".pak" and the text file, "S " for saves, "E " for sets and maps, "Z " for
// the rest, appended.
void ListZeusContent(const std::string& pakName, const std::string& txtName,
                     const std::vector<std::string>& saves,
                     const std::vector<std::string>& setsAndMaps,
                     const std::vector<std::string>& others, ContentLines& lines);

Outcome ScanZeusMissions(GameEnvironment& environment, PackageLists& lists);

// Install creates the adventure folder; deinstall removes it again when it is left empty.
Outcome InstallZeusPackage(GameEnvironment& environment, const std::string& archivePath,
                           const std::string& pakName, const std::string& txtName,
                           const std::string& adventureName, const std::vector<std::string>& saves,
                           const std::vector<std::string>& setsAndMaps, bool install);

}  // namespace wendmoor
