#pragma once

#include <functional>
#include <optional>
#include <string>

#include "games/PackagePlan.h"
#include "packages/PackageCommandContext.h"
#include "platform/Outcome.h"

namespace wendmoor {

struct GameDescription;

// The plan of the package in an archive, or nothing when the file is no package of the game or
// cannot be read; `unreadable` then tells why. It is called on several threads at once.
using PlanForArchive =
    std::function<std::optional<PackagePlan>(const std::string& archivePath, Outcome* unreadable)>;

// The scan every game shares: tries every file in the missions folder (its extension does not
// matter; folders are skipped), lists each package as installed when all its targets exist and
// as available otherwise, and adds the references of the installed packages' counted files, in
// the folder's order. A file that cannot be read goes to `lists.unreadable`, named with the
// system's reason, so it never just drops out of the lists. The archives are read on a few
// threads (RefreshThreads). Neither the lists nor the counts are emptied first. Fails
// when the missions folder cannot be read, so an empty list is never mistaken for no packages.
Outcome ScanMissionsFolder(const std::string& missionsFolder, PackageCommandContext& context,
                           PackageLists& lists, const PlanForArchive& planFor);

// The scan of the game's missions folder, with the game's own plans.
Outcome ScanGameMissions(const GameDescription& game, PackageCommandContext& context,
                         PackageLists& lists);

}  // namespace wendmoor
