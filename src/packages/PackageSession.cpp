#include "packages/PackageSession.h"

#include <algorithm>

#include "games/Games.h"
#include "packages/CommandFolders.h"
#include "packages/FolderCheck.h"
#include "packages/ListOrder.h"
#include "packages/MissionScan.h"
#include "packages/PlanOnDisk.h"
#include "packages/SharedFileUsers.h"
#include "platform/BackupLocation.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {}  // namespace

PackageSession::PackageSession(GamePaths& paths, FileSystem& fileSystem,
                               std::function<void()> askForFolders,
                               PackageLock::KeepWaiting keepWaiting)
    : paths_(paths),
      fileSystem_(fileSystem),
      askForFolders_(std::move(askForFolders)),
      keepWaiting_(std::move(keepWaiting)),
      fileRefs_(fileSystem),
      backupStore_(DefaultBackupStoreFolder()) {}

bool PackageSession::SelectGame(int game) {
    lists_ = {};
    content_.clear();
    fileRefs_.RemoveAll();
    scanOutcome_ = {};
    currentGame_ = 0;

    const GameDescription* description = FindGame(game);
    if (description == nullptr) return false;
    // The options dialog may stay open for long: no lock is held while it asks.
    if (!HasRequiredFolders(*description, paths_) && askForFolders_) askForFolders_();
    if (!HasRequiredFolders(*description, paths_)) {
        content_.push_back(description->incompleteMessage);
        return false;
    }
    // Refused before any lock or scan: no command may act on such folders.
    if (std::vector<std::string> problems = FolderProblems(*description, paths_);
        !problems.empty()) {
        content_ = std::move(problems);
        return false;
    }
    PackageLock lock;
    if (Outcome locked = lock.Acquire(PackageLock::Mode::Shared,
                                      GameFolders(*description, paths_, fileSystem_), keepWaiting_);
        !locked.Ok()) {
        scanOutcome_ = locked;
        content_ = locked.Lines();
        return false;
    }
    Scan(game);
    return true;
}

void PackageSession::Scan(int game) {
    lists_ = {};
    content_.clear();
    fileRefs_.RemoveAll();
    currentGame_ = game;
    const GameDescription* description = FindGame(game);
    PackageCommandContext context{paths_, fileSystem_, fileRefs_};
    scanOutcome_ = ScanGameMissions(*description, context, lists_);
    content_ = scanOutcome_.Lines();
    // A package that cannot be read is said where the folder's own failure would be.
    for (std::string& line : lists_.unreadable.Lines()) content_.push_back(std::move(line));
    SortListLines(lists_.installed);
    SortListLines(lists_.available);
}

Outcome PackageSession::WhyUnreadable(const std::string& packageName) const {
    Outcome why;
    for (const Outcome::Failure& failure : lists_.unreadable.Failures()) {
        if (failure.subject == packageName) why.Add(packageName, failure.reason);
    }
    return why;
}

std::string PackageSession::ArchivePathOf(const std::string& packageName) const {
    const GameDescription* game = FindGame(currentGame_);
    // The scan found the package in the folder as it lies on disk, whose letter case may
    // differ from the configured folder's.
    return game == nullptr ? std::string()
                           : fileSystem_.Resolve(paths_.*game->missions) + packageName;
}

void PackageSession::ShowPackageContent(const std::string& packageName) {
    content_.clear();
    const GameDescription* game = FindGame(currentGame_);
    if (game == nullptr) return;
    std::optional<ContentLines> lines = game->contentOf(ArchivePathOf(packageName), nullptr);
    if (!lines) return;
    SortListLines(*lines);
    content_ = std::move(*lines);
}

Outcome PackageSession::RunPackageCommand(std::string packageName, bool install,
                                          CommandProgress* progress) {
    content_.clear();
    kept_ = {};
    const GameDescription* game = FindGame(currentGame_);
    if (game == nullptr) return Outcome::Failed(packageName, "no game is selected");

    PackageLock lock;
    if (Outcome locked = lock.Acquire(PackageLock::Mode::Exclusive,
                                      GameFolders(*game, paths_, fileSystem_), keepWaiting_);
        !locked.Ok()) {
        return locked;
    }
    Scan(game->id);
    if (!scanOutcome_.Ok()) return scanOutcome_;
    // Reinstalling an installed package only writes its files again. A deinstall of one that
    // is not installed whole removes what a deinstall cut off by a kill left of it, with the
    // references it would hold (see ApplyPackagePlan); one with nothing left is refused.
    const bool listed =
        Contains(lists_.installed, packageName) ||
        (Contains(lists_.available, packageName) && (install || HasRemains(*game, packageName)));
    if (!listed) {
        if (Outcome unreadable = WhyUnreadable(packageName); !unreadable.Ok()) return unreadable;
        return Outcome::Failed(packageName,
                               std::string("is not in ") +
                                   (install ? "Available Missions" : "Installed Missions") +
                                   " (any more)");
    }

    CommandBackup backup(backupStore_, BackupGameKey(game->id), packageName,
                         install ? "install" : "deinstall");
    PackageCommandContext context{paths_, fileSystem_, fileRefs_, progress, &backup};
    const std::optional<Outcome> done =
        RunGameCommand(*game, context, ArchivePathOf(packageName), install);
    kept_ = backup.Kept();
    const Outcome closed = backup.Close();
    Scan(game->id);
    if (!done) {
        return Outcome::Failed(packageName,
                               std::string("is not a ") + game->name + " package (any more)");
    }
    Outcome outcome = *done;
    outcome.Merge(closed);
    return outcome;
}

std::vector<std::string> PackageSession::PackagesLosingSharedFiles(
    const std::string& packageName) const {
    std::vector<std::string> users;
    const GameDescription* game = FindGame(currentGame_);
    if (game == nullptr) return users;
    const std::string archive = ArchivePathOf(packageName);
    const std::optional<PackagePlan> plan = game->planFor(paths_, archive, nullptr);
    if (!plan) return users;
    const std::set<std::string> replaced =
        SharedFilesReplacedWithOtherBytes(archive, *plan, fileSystem_, fileRefs_);
    if (replaced.empty()) return users;
    for (const std::string& other : lists_.installed) {
        if (other == packageName) continue;
        const std::optional<PackagePlan> otherPlan =
            game->planFor(paths_, ArchivePathOf(other), nullptr);
        if (otherPlan && PlanHoldsSharedFile(*otherPlan, replaced)) users.push_back(other);
    }
    return users;
}

bool PackageSession::HasRemains(const GameDescription& game, const std::string& packageName) const {
    const std::optional<PackagePlan> plan =
        game.planFor(paths_, ArchivePathOf(packageName), nullptr);
    return plan && HasPlanRemains(*plan, fileSystem_, fileRefs_);
}

RestoreResult PackageSession::RestoreBackup(const std::string& name, bool force) {
    content_.clear();
    kept_ = {};
    RestoreResult result;
    const GameDescription* game = FindGame(currentGame_);
    if (game == nullptr) {
        result.outcome = Outcome::Failed(name, "no game is selected");
        return result;
    }
    // Restore writes into the game's folders and reads (with --force: writes) the store.
    std::vector<std::string> folders = GameFolders(*game, paths_, fileSystem_);
    folders.push_back(backupStore_);
    PackageLock lock;
    if (Outcome locked = lock.Acquire(PackageLock::Mode::Exclusive, folders, keepWaiting_);
        !locked.Ok()) {
        result.outcome = locked;
        return result;
    }
    result = wendmoor::RestoreBackup(backupStore_, BackupGameKey(game->id), name, force,
                                     RestoreFoldersOf(*game, paths_), fileSystem_);
    kept_ = result.kept;
    Scan(game->id);
    return result;
}

}  // namespace wendmoor
