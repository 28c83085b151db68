#pragma once

#include <optional>
#include <string>

#include "packages/GameEnvironment.h"
#include "platform/Outcome.h"

namespace wendmoor {

struct GamePaths;

enum GameId : int { kNoGame = 0, kCaesar3 = 1, kPharao = 2, kZeus = 3, kEmperor = 4 };

// What the window and the command-line tool need to know of one game. Each game's unit
// defines its own description; the table in Games.cpp collects them.
struct GameDescription {
    GameId id;
    const char* name;               // as the user reads it: "Caesar III"
    const char* incompleteMessage;  // shown when a required folder is empty
    std::string GamePaths::*missions;
    std::string GamePaths::*gameFolder;
    std::string GamePaths::*saves;  // nullptr when the game keeps no save-game folder
    const char* programName;        // the game's program in its game folder

    // Fails when the missions folder cannot be read.
    Outcome (*scan)(GameEnvironment& environment, PackageLists& lists);
    // Classifies the archive and appends its content lines; false when it is no package.
    bool (*showContent)(const std::string& archivePath, ContentLines& lines);
    // Classifies the archive and installs or deinstalls it: what failed, entry by entry; nothing
    // (and nothing done) when it is no package.
    std::optional<Outcome> (*runCommand)(GameEnvironment& environment,
                                         const std::string& archivePath, bool install);
};

// The game with that id, or nullptr for kNoGame and anything unknown.
const GameDescription* FindGame(int id);

// The game folder, the missions folder and (where the game has one) the save-game folder.
bool HasRequiredFolders(const GameDescription& game, const GamePaths& paths);

}  // namespace wendmoor
