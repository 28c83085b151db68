#pragma once

#include <array>
#include <optional>
#include <string>

#include "games/ContentLines.h"
#include "games/PackagePlan.h"
#include "platform/Outcome.h"

namespace wendmoor {

struct GamePaths;

enum GameId : int { kNoGame = 0, kCaesar3 = 1, kPharao = 2, kZeus = 3, kEmperor = 4 };

// Every game, in the order of their ids.
inline constexpr GameId kAllGames[] = {kCaesar3, kPharao, kZeus, kEmperor};

// A folder a game's packages write into: a configured folder or a sub-folder of it.
struct WrittenFolder {
    std::string GamePaths::*folder = nullptr;  // nullptr: an unused place in the list
    const char* subFolder = "";                // "" for the configured folder itself
    bool holdsPackageFolders = false;          // packages make folders of their own inside
};

// What the window and the command-line tool need to know of one game. Each game's unit has
// three routines over an entries struct of its own: a classifier (archive -> entries, nothing
// when it is no package), a plan (entries -> the steps that install them) and a lister
// (entries -> content lines). Each entries struct carries the archive's EarlierSpellings,
// which PlanOf hands to the plan. The description holds them joined through PlanOf and ContentOf;
// the shared flow below does the rest for every game. The table in Games.cpp collects them.
struct GameDescription {
    GameId id;
    const char* name;               // as the user reads it: "Caesar III"
    const char* incompleteMessage;  // shown when a required folder is empty
    std::string GamePaths::*missions;
    std::string GamePaths::*gameFolder;
    std::string GamePaths::*saves;  // nullptr when the game keeps no save-game folder
    const char* programName;        // the game's program in its game folder

    // The plan of the package in the archive; nothing when it is no package of the game or
    // cannot be read, which `unreadable` (when given) then tells with the system's reason.
    std::optional<PackagePlan> (*planFor)(const GamePaths& paths, const std::string& archivePath,
                                          Outcome* unreadable);
    // Its content lines, in archive order; nothing as for planFor.
    std::optional<ContentLines> (*contentOf)(const std::string& archivePath, Outcome* unreadable);
    // The folders its plan writes into: two games must never share one, as neither game's
    // reference counts know the other's files.
    std::array<WrittenFolder, 3> writtenFolders;
};

template <auto classify, auto plan>
std::optional<PackagePlan> PlanOf(const GamePaths& paths, const std::string& archivePath,
                                  Outcome* unreadable) {
    const auto entries = classify(archivePath, unreadable);
    if (!entries) return std::nullopt;
    PackagePlan made = plan(paths, *entries);
    made.UseEarlierSpellings(entries->earlierSpellings);
    return made;
}

template <auto classify, auto list>
std::optional<ContentLines> ContentOf(const std::string& archivePath, Outcome* unreadable) {
    const auto entries = classify(archivePath, unreadable);
    if (!entries) return std::nullopt;
    return list(*entries);
}

// The game with that id, or nullptr for kNoGame and anything unknown.
const GameDescription* FindGame(int id);

// The game folder, the missions folder and (where the game has one) the save-game folder.
bool HasRequiredFolders(const GameDescription& game, const GamePaths& paths);

}  // namespace wendmoor
