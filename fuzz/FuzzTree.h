#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "games/Games.h"
#include "settings/GamePaths.h"

namespace wendmoor::fuzz {

// A temporary root, made once per process, holding a fresh game tree for every run and a
// sentinel folder beside it. Any change outside the game tree aborts the process, which the
// fuzzer reports as a crash with the input that caused it.
class FuzzTree {
  public:
    static FuzzTree& Instance();

    // Removes and recreates the game tree; writes the input as a package of the game into its
    // missions folder and returns the package's file name.
    std::string Reset(int game, const std::uint8_t* data, std::size_t size);
    // Aborts unless the root holds exactly the game tree and the untouched sentinel.
    void CheckOutside() const;

    GamePaths paths;

  private:
    FuzzTree();
    std::string Snapshot() const;

    std::string root_;
    std::string sentinelSnapshot_;
};

// The game named by the target at build time ("caesar3" ...), one target per game.
int GameNamed(const std::string& name);

}  // namespace wendmoor::fuzz
