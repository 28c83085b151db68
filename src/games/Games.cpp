#include "games/Games.h"

#include <array>

#include "packages/MissionScan.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

extern const GameDescription kCaesar3Game;
extern const GameDescription kPharaoGame;
extern const GameDescription kZeusGame;
extern const GameDescription kEmperorGame;

namespace {

const std::array<const GameDescription*, 4> kGames = {&kCaesar3Game, &kPharaoGame, &kZeusGame,
                                                      &kEmperorGame};

}  // namespace

const GameDescription* FindGame(int id) {
    for (const GameDescription* game : kGames) {
        if (game->id == id) return game;
    }
    return nullptr;
}

RestoreFolders RestoreFoldersOf(const GameDescription& game, const GamePaths& paths) {
    RestoreFolders folders;
    for (const WrittenFolder& written : game.writtenFolders) {
        if (written.folder == nullptr) continue;
        const std::string& configured = paths.*written.folder;
        const std::string sub = written.subFolder;
        const std::string folder = sub.empty() ? configured : configured + SubFolder(sub);
        folders.files.push_back(folder);
        if (written.holdsPackageFolders) folders.packageFolderParents.push_back(folder);
    }
    return folders;
}

bool HasRequiredFolders(const GameDescription& game, const GamePaths& paths) {
    if ((paths.*game.gameFolder).empty() || (paths.*game.missions).empty()) return false;
    return game.saves == nullptr || !(paths.*game.saves).empty();
}

Outcome ScanGameMissions(const GameDescription& game, PackageCommandContext& context,
                         PackageLists& lists) {
    const GamePaths& paths = context.paths;
    return ScanMissionsFolder(paths.*game.missions, context, lists,
                              [&](const std::string& archivePath, Outcome* unreadable) {
                                  return game.planFor(paths, archivePath, unreadable);
                              });
}

std::optional<Outcome> RunGameCommand(const GameDescription& game, PackageCommandContext& context,
                                      const std::string& archivePath, bool install) {
    Outcome unreadable;
    const std::optional<PackagePlan> plan = game.planFor(context.paths, archivePath, &unreadable);
    if (!plan) return unreadable.Ok() ? std::nullopt : std::optional<Outcome>(unreadable);
    return ApplyPackagePlan(archivePath, *plan, context, install);
}

}  // namespace wendmoor
