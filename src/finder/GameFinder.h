#pragma once

#include <array>
#include <string>
#include <vector>

#include "finder/FinderPlaces.h"
#include "finder/FolderWalk.h"

namespace wendmoor {

struct GameDescription;

// A folder the finder offers for one settings row, and what to tell the player about it.
struct FoundFolder {
    std::string folder;     // with its trailing separator, as the settings keep it
    std::string origin;     // where it was found: "Steam library ~/.local/share/Steam"
    bool proposed = false;  // not on disk yet: made only when the player accepts it
};

// The game folders found, per game, in the order of the places looked at.
class GameFindings {
  public:
    const std::vector<FoundFolder>& GameFolders(int game) const;
    void Add(int game, FoundFolder found);
    // No game folder found at all.
    bool Empty() const;

    // The search ended before it had looked at every folder it meant to; how many it did.
    bool StoppedEarly() const { return stoppedEarly_; }
    void NoteStoppedEarly(std::size_t foldersLookedAt) {
        stoppedEarly_ = true;
        stoppedAfter_ = foldersLookedAt;
    }
    // What to tell the player about it; empty when the search was whole.
    std::string StoppedEarlyNote() const;

  private:
    std::array<std::vector<FoundFolder>, 5> byGame_;  // by GameId; 0 stays empty
    bool stoppedEarly_ = false;
    std::size_t stoppedAfter_ = 0;
};

// Looks for the four games where players keep them: the Steam libraries (each installation's
// libraryfolders.vdf, then steamapps/common/*), the Wine prefixes ($WINEPREFIX, ~/.wine, the
// Bottles, Lutris and Heroic prefixes; in each drive_c/Program Files*/ two levels deep and every
// other folder of drive_c/ one level deep) and ~/Games two levels deep. A folder is a game's
// folder when it holds the game's program (GameDescription::programName, in any letter case)
// and nowhere else. Each place is walked breadth-first, so a bound of the walk (FolderWalk, at
// most `maxFolders` listings) leaves out the deepest folders, never a shallow one behind a big
// tree. Never writes anything.
GameFindings FindGames(const FinderPlaces& places,
                       std::size_t maxFolders = FolderWalk::kMaxListings);

// The game's save-game folders inside a game folder: the folder the game saves into ("Save",
// in any letter case) and, when that holds one folder per player, each player's folder
// instead. Empty for a game without a save-game row (Caesar III saves into its game folder).
std::vector<FoundFolder> FindSaveFolders(const GameDescription& game,
                                         const std::string& gameFolder);

}  // namespace wendmoor
