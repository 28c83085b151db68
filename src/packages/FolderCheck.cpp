#include "packages/FolderCheck.h"

#include "games/Games.h"
#include "platform/CaseFold.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

const char* KeyOf(std::string GamePaths::*member) {
    for (const GamePathField& field : kGamePathFields) {
        if (field.member == member) return field.name;
    }
    return "?";
}

// One configured folder or sub-folder, as the file systems of the games compare names: any
// letter case, either separator on Windows, always with a trailing separator.
struct Place {
    std::string key;     // how the player finds it in the settings
    std::string shown;   // the folder as configured
    std::string folded;  // for comparing
    bool holdsPackageFolders = false;
};

std::string Comparable(std::string folder) {
#ifdef _WIN32
    for (char& c : folder) {
        if (c == '\\') c = '/';
    }
#endif
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return FoldCase(folder);
}

std::vector<Place> PlacesOf(const GameDescription& game, const GamePaths& paths) {
    std::vector<Place> places;
    for (const WrittenFolder& written : game.writtenFolders) {
        if (written.folder == nullptr) continue;
        const std::string& folder = paths.*written.folder;
        if (folder.empty() || !IsAbsolutePath(folder)) continue;
        const std::string sub = written.subFolder;
        const std::string shown = sub.empty() ? folder : folder + SubFolder(sub);
        const std::string key = sub.empty() ? KeyOf(written.folder)
                                            : "the " + sub + " folder of " + KeyOf(written.folder);
        places.push_back({key, shown, Comparable(shown), written.holdsPackageFolders});
    }
    return places;
}

bool Inside(const Place& inner, const Place& outer) {
    return outer.holdsPackageFolders && inner.folded.size() > outer.folded.size() &&
           inner.folded.starts_with(outer.folded);
}

}  // namespace

std::vector<std::string> FolderProblems(const GameDescription& game, const GamePaths& paths) {
    std::vector<std::string> problems;
    for (std::string GamePaths::*member : {game.missions, game.gameFolder, game.saves}) {
        if (member == nullptr) continue;
        const std::string& folder = paths.*member;
        if (!folder.empty() && !IsAbsolutePath(folder)) {
            problems.push_back(std::string("the folder ") + KeyOf(member) +
                               " is not an absolute path: " + folder);
        }
    }
    const std::vector<Place> own = PlacesOf(game, paths);
    for (const GameId otherId : kAllGames) {
        const GameDescription* other = FindGame(otherId);
        if (other == nullptr || other->id == game.id) continue;
        for (const Place& theirs : PlacesOf(*other, paths)) {
            for (const Place& mine : own) {
                const Place* inner = mine.folded == theirs.folded || Inside(mine, theirs) ? &mine
                                     : Inside(theirs, mine)                               ? &theirs
                                                                                          : nullptr;
                if (inner == nullptr) continue;
                problems.push_back(mine.key + " and " + theirs.key + " share the folder " +
                                   inner->shown + ": a deinstall of " + game.name + " or " +
                                   other->name +
                                   " would delete files the other game's packages need; give "
                                   "each game folders of its own");
            }
        }
    }
    return problems;
}

}  // namespace wendmoor
