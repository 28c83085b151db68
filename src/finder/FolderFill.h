#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "finder/GameFinder.h"
#include "platform/Outcome.h"
#include "settings/GamePaths.h"

namespace wendmoor {

// What the finder offered for one settings row and what was taken.
struct RowFill {
    std::string GamePaths::*field = nullptr;
    std::vector<FoundFolder> candidates;
    std::optional<std::size_t> taken;  // into candidates; nothing when none was chosen
};

// Chooses one of several candidates for a row (the options dialog asks the player, the
// command-line tool takes the first); nothing leaves the row empty.
using PickFolder = std::function<std::optional<std::size_t>(
    const GamePathField& row, const std::vector<FoundFolder>& candidates)>;

// Fills the empty rows of `paths`, never one that holds a value: per game its game folder from
// the findings, then its save-game folder from inside the game folder (found or already set),
// then its missions folder, which nothing can find, as the proposal below, for each game whose
// game folder is set. A single candidate is taken; `pick` is asked only when there are several.
// A folder too long to be stored is never offered. Returns the rows that had candidates, in
// the order they were filled.
std::vector<RowFill> FillEmptyFolders(GamePaths& paths, const GameFindings& findings,
                                      const FinderPlaces& places, const PickFolder& pick);

// The missions folder proposed for a game: ~/Documents/Wendmoor/GAME/, marked proposed while it
// does not exist. Nothing without a home.
std::optional<FoundFolder> ProposedMissionsFolder(const GameDescription& game,
                                                  const FinderPlaces& places);

// Makes a proposed folder and the folders above it, once the player accepted it. A folder that
// is there already is no failure.
Outcome MakeProposedFolder(const std::string& folder);

}  // namespace wendmoor
