// Classifies an arbitrary archive as a package of one game, as showing its content does.
#include "FuzzTree.h"
#include "games/Games.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wendmoor;
    fuzz::FuzzTree& tree = fuzz::FuzzTree::Instance();
    const GameDescription* game = FindGame(fuzz::GameNamed(FUZZ_GAME_NAME));
    const std::string name = tree.Reset(game->id, data, size);
    (void)game->contentOf(tree.paths.*game->missions + name, nullptr);
    tree.CheckOutside();
    return 0;
}
