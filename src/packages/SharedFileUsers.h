#pragma once

#include <set>
#include <string>

#include "games/PackagePlan.h"

namespace wendmoor {

class FileRefCounts;
class FileSystem;

// The shared files (see FileRefCounts) that installed packages hold and that the plan of the
// archive would replace with other bytes than the ones in place: each as its case-folded key.
// An install keeps the old bytes in a backup, yet the packages that held them then find a map
// that is no longer theirs, which the player should hear of before.
std::set<std::string> SharedFilesReplacedWithOtherBytes(const std::string& archivePath,
                                                        const PackagePlan& plan,
                                                        const FileSystem& fileSystem,
                                                        const FileRefCounts& fileRefs);

// Whether the plan holds a shared file among `keys` (case-folded, as above).
bool PlanHoldsSharedFile(const PackagePlan& plan, const std::set<std::string>& keys);

}  // namespace wendmoor
