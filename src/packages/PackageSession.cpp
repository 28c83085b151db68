#include "packages/PackageSession.h"

#include "packages/Games.h"
#include "packages/ListOrder.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor {

PackageSession::PackageSession(GamePaths& paths, FileSystem& fileSystem,
                               std::function<void()> askForFolders)
    : paths_(paths),
      fileSystem_(fileSystem),
      askForFolders_(std::move(askForFolders)),
      fileRefs_(fileSystem) {}

bool PackageSession::SelectGame(int game) {
    lists_ = {};
    content_.clear();
    fileRefs_.RemoveAll();
    currentGame_ = 0;

    const GameDescription* description = FindGame(game);
    if (description == nullptr) return false;
    if (!HasRequiredFolders(*description, paths_) && askForFolders_) askForFolders_();
    if (!HasRequiredFolders(*description, paths_)) {
        content_.push_back(description->incompleteMessage);
        return false;
    }
    currentGame_ = game;
    GameEnvironment environment{paths_, fileSystem_, fileRefs_};
    description->scan(environment, lists_);
    SortListLines(lists_.installed);
    SortListLines(lists_.available);
    return true;
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
    ContentLines lines;
    if (!game->showContent(ArchivePathOf(packageName), lines)) return;
    SortListLines(lines);
    content_ = std::move(lines);
}

PackageSession::CommandResult PackageSession::RunPackageCommand(const std::string& packageName,
                                                                bool install) {
    const CommandResult result = ApplyPackageCommand(packageName, install);
    if (result == CommandResult::Done) SelectGame(currentGame_);
    return result;
}

PackageSession::CommandResult PackageSession::ApplyPackageCommand(const std::string& packageName,
                                                                  bool install) {
    content_.clear();
    const GameDescription* game = FindGame(currentGame_);
    if (game == nullptr) return CommandResult::NoGame;
    GameEnvironment environment{paths_, fileSystem_, fileRefs_};
    if (!game->runCommand(environment, ArchivePathOf(packageName), install)) {
        return CommandResult::Refused;
    }
    return CommandResult::Done;
}

}  // namespace wendmoor
