#include "packages/CommandFolders.h"

#include "games/Games.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor {

std::vector<std::string> GameFolders(const GameDescription& game, const GamePaths& paths,
                                     const FileSystem& fileSystem) {
    std::vector<std::string> folders;
    for (const auto field : {game.missions, game.gameFolder, game.saves}) {
        if (field != nullptr && !(paths.*field).empty()) {
            folders.push_back(fileSystem.Resolve(paths.*field));
        }
    }
    return folders;
}

}  // namespace wendmoor
