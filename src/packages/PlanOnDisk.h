#pragma once

#include <optional>
#include <string>

#include "games/PackagePlan.h"
#include "packages/PackageCommandContext.h"
#include "platform/Outcome.h"

namespace wendmoor {

class Archive;
class CommandBackup;
class FileSystem;
class FileRefCounts;
struct GameDescription;

// What a plan (games/PackagePlan.h) does on disk: whether it is in place, and its install and
// deinstall.

// Installed when every file target exists (under its earlier spelling, when only that does). A
// package folder that is a symbolic link is not the package's (see InstallPlan), so its files count
// as absent.
bool IsPlanInstalled(const PackagePlan& plan, const FileSystem& fileSystem);
// Whether any file of the plan is in place, leaving aside shared files that installed packages
// hold. A deinstall cut off by a kill leaves a package that no longer counts as installed,
// with some of its files still there.
bool HasPlanRemains(const PackagePlan& plan, const FileSystem& fileSystem,
                    const FileRefCounts& fileRefs);
// The references an installed package holds: one for each counted file.
void AddPlanRefs(const PackagePlan& plan, FileRefCounts& fileRefs);

// Install: creates the package's folders, writes every file to a temporary file and flushes
// it, then renames them all over their targets and syncs each folder once. A file that cannot
// be written stays as it was and is reported; the rest goes on, and only a file really in
// place gets its reference. A package folder that exists as a symbolic link is never written
// through: the package would land wherever the link points, and its deinstall delete there.
// Links the player made for whole game folders ("Maps", the save folder) are used as folders.
// `progress`, when given, hears of every file and byte; its Cancel() stops the install before
// anything is replaced. With a backup, every existing target whose bytes differ from its
// entry's is kept there before the renames; one that cannot be kept is not replaced, and
// reported.
Outcome InstallPlan(Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                    FileRefCounts& fileRefs, CommandProgress* progress = nullptr,
                    CommandBackup* backup = nullptr);
// Deinstall: releases counted files, deletes the others, removes the package's folders when
// they are empty; what could not be deleted is reported. With a backup, a file about to be
// deleted whose bytes differ from the archive's entry (the player changed it) is kept there
// first; one that cannot be kept stays, and is reported.
Outcome DeinstallPlan(const Archive& archive, const PackagePlan& plan, FileSystem& fileSystem,
                      FileRefCounts& fileRefs, CommandProgress* progress = nullptr,
                      CommandBackup* backup = nullptr);

// Opens the archive and installs or deinstalls the plan. A deinstall of a package that is not
// installed whole removes what is left of it: it takes the references the package would hold
// first, so a shared file goes only when no installed package holds it. When the archive cannot be
// read, or an install could not be written whole (see CanExtractPlan), nothing is written or
// deleted. Temporary files that a killed process left in the folders the plan writes to go first;
// the caller holds the exclusive PackageLock. The player's files go to the context's backup.
Outcome ApplyPackagePlan(const std::string& archivePath, const PackagePlan& plan,
                         PackageCommandContext& context, bool install);

// Classifies the archive and installs or deinstalls it: what failed, entry by entry (or why the
// archive cannot be read); nothing (and nothing done) when it is no package of the game.
std::optional<Outcome> RunGameCommand(const GameDescription& game, PackageCommandContext& context,
                                      const std::string& archivePath, bool install);

}  // namespace wendmoor
