#include "games/Games.h"

#include <array>

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

bool HasRequiredFolders(const GameDescription& game, const GamePaths& paths) {
    if ((paths.*game.gameFolder).empty() || (paths.*game.missions).empty()) return false;
    return game.saves == nullptr || !(paths.*game.saves).empty();
}

}  // namespace wendmoor
