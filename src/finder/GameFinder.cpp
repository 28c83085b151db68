#include "finder/GameFinder.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "finder/FolderWalk.h"
#include "finder/SteamLibraries.h"
#include "games/Games.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

// The folder each game saves into, inside its game folder. Pharao, Zeus and Emperor all keep
// "Save" there and, inside it, one folder per player name given in the game; a save-game is
// loaded from the player's folder. Caesar III writes its saves beside its program.
const char* SaveFolderName(int game) {
    switch (game) {
        case kPharao:
        case kZeus:
        case kEmperor:
            return "Save";
        default:
            return nullptr;
    }
}

std::string Child(const std::string& folder, const std::string& name) {
    return folder + name + kPathSeparator;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

class GameSearch {
  public:
    GameSearch(const FinderPlaces& places, std::size_t maxFolders)
        : places_(places), walk_(maxFolders) {
        for (const GameId id : kAllGames) {
            if (const GameDescription* game = FindGame(id)) {
                programs_.emplace_back(AsciiLower(game->programName), id);
            }
        }
    }

    GameFindings Run() {
        const std::string& home = places_.home;
        if (!home.empty()) {
            // The real installation first, so a link to it (~/.steam/steam usually is one)
            // adds nothing but is still looked at when it is the only one.
            for (const char* root : {".local/share/Steam/", ".steam/steam/", ".steam/root/",
                                     ".var/app/com.valvesoftware.Steam/.local/share/Steam/"}) {
                SearchSteam(home + root);
            }
        }
        if (!places_.winePrefix.empty()) SearchPrefix(places_.winePrefix, "Wine prefix ");
        if (!home.empty()) {
            SearchPrefix(home + ".wine/", "Wine prefix ");
            SearchPrefixesIn(home + ".local/share/bottles/bottles/", "Bottles bottle ");
            SearchPrefixesIn(home + ".var/app/com.usebottles.bottles/data/bottles/bottles/",
                             "Bottles bottle ");
            SearchPrefixesIn(home + "Games/Heroic/Prefixes/", "Heroic prefix ");
            SearchPrefixesIn(home + "Games/Heroic/Prefixes/default/", "Heroic prefix ");
            SearchPrefixesIn(home + "Games/", "Lutris prefix ");
            // Heroic and Lutris also install games straight into ~/Games/NAME.
            Search(home + "Games/", 2, ShortForm(home + "Games/", places_));
        }
        for (const auto& [folder, depth] : places_.installFolders) {
            Search(folder, depth, "Windows install folder " + folder);
        }
        if (walk_.StoppedEarly() || dropped_) findings_.NoteStoppedEarly(walk_.ListingsMade());
        return std::move(findings_);
    }

  private:
    // Notes the games whose program lies in the folder.
    void Check(const std::string& folder, const FolderWalk::Listing& listing,
               const std::string& origin) {
        for (const std::string& file : listing.files) {
            const std::string lower = AsciiLower(file);
            for (const auto& [program, game] : programs_) {
                if (lower == program) findings_.Add(game, {folder, origin});
            }
        }
    }

    // The folder and its sub-folders down to `depth` levels, one level after the other: a
    // big tree in one sub-folder spends the walk's budget only after every shallower folder
    // was looked at. A level is never gathered beyond what the budget can still list.
    void Search(const std::string& folder, int depth, const std::string& origin) {
        std::vector<std::string> level = {folder};
        for (int down = 0; down <= depth && !level.empty(); ++down) {
            std::vector<std::string> next;
            for (const std::string& current : level) {
                FolderWalk::Listing listing;
                if (!walk_.ListOnce(current, listing)) continue;
                Check(current, listing, origin);
                if (down == depth) continue;
                for (const std::string& name : listing.folders) {
                    if (next.size() >= walk_.ListingsLeft()) {
                        dropped_ = true;
                        break;
                    }
                    next.push_back(Child(current, name));
                }
            }
            level = std::move(next);
        }
    }

    void SearchSteam(const std::string& steamRoot) {
        const FileSystem fileSystem;
        for (const std::string& library : SteamLibraryFolders(steamRoot)) {
            // Older clients spelled it "SteamApps".
            const std::string common = fileSystem.Resolve(library + "steamapps/common/");
            Search(common, 1, "Steam library " + ShortForm(library, places_));
        }
    }

    // A prefix's drive_c: "Program Files" and "Program Files (x86)" two levels deep (a
    // publisher's folder, then the game's), every other folder one level deep, which takes
    // in "GOG Games/NAME" and "Sierra/NAME". The Windows folder holds no games and is the
    // largest tree of a prefix, so it is left out.
    void SearchPrefix(const std::string& prefix, const std::string& kind) {
        const std::string origin = kind + ShortForm(prefix, places_);
        const std::string drive = prefix + "drive_c" + kPathSeparator;
        FolderWalk::Listing listing;
        if (!walk_.ListOnce(drive, listing)) return;
        Check(drive, listing, origin);
        for (const std::string& name : listing.folders) {
            const std::string lower = AsciiLower(name);
            if (lower == "windows") continue;
            Search(Child(drive, name), StartsWith(lower, "program files") ? 2 : 1, origin);
        }
    }

    // Every folder in `container` that is a Wine prefix (holds drive_c).
    void SearchPrefixesIn(const std::string& container, const std::string& kind) {
        FolderWalk::Listing listing;
        if (!walk_.List(container, listing)) return;
        for (const std::string& name : listing.folders) {
            const std::string prefix = Child(container, name);
            if (FolderWalk::IsFolder(prefix + "drive_c")) SearchPrefix(prefix, kind);
        }
    }

    const FinderPlaces& places_;
    std::vector<std::pair<std::string, GameId>> programs_;
    FolderWalk walk_;
    bool dropped_ = false;  // folders left out of a level for want of budget
    GameFindings findings_;
};

}  // namespace

const std::vector<FoundFolder>& GameFindings::GameFolders(int game) const {
    static const std::vector<FoundFolder> kNone;
    return game > 0 && game < static_cast<int>(byGame_.size()) ? byGame_[game] : kNone;
}

void GameFindings::Add(int game, FoundFolder found) {
    if (game > 0 && game < static_cast<int>(byGame_.size())) {
        byGame_[game].push_back(std::move(found));
    }
}

bool GameFindings::Empty() const {
    for (const auto& folders : byGame_) {
        if (!folders.empty()) return false;
    }
    return true;
}

std::string GameFindings::StoppedEarlyNote() const {
    if (!StoppedEarly()) return {};
    return "The search stopped after " + std::to_string(stoppedAfter_) +
           " folders: folders further in were not looked at.";
}

GameFindings FindGames(const FinderPlaces& places, std::size_t maxFolders) {
    return GameSearch(places, maxFolders).Run();
}

std::vector<FoundFolder> FindSaveFolders(const GameDescription& game,
                                         const std::string& gameFolder) {
    const char* name = SaveFolderName(game.id);
    if (name == nullptr || game.saves == nullptr || gameFolder.empty()) return {};
    const FileSystem fileSystem;
    const std::string saves = fileSystem.Resolve(Child(gameFolder, name));
    FolderWalk walk;
    FolderWalk::Listing listing;
    if (!walk.List(saves, listing)) return {};
    std::vector<FoundFolder> found;
    for (const std::string& player : listing.folders) {
        found.push_back({Child(saves, player), "player " + player + "'s folder in " + name});
    }
    if (found.empty()) found.push_back({saves, std::string("the game's ") + name + " folder"});
    return found;
}

}  // namespace wendmoor
