#include "finder/FolderFill.h"

#include "finder/FolderWalk.h"
#include "games/Games.h"
#include "platform/FolderChain.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

const GamePathField* FieldOf(std::string GamePaths::*member) {
    for (const GamePathField& field : kGamePathFields) {
        if (field.member == member) return &field;
    }
    return nullptr;
}

// Fills one empty row from its candidates; records the row when it had any.
void FillRow(GamePaths& paths, std::string GamePaths::*member, std::vector<FoundFolder> candidates,
             const PickFolder& pick, std::vector<RowFill>& filled) {
    std::string& value = paths.*member;
    if (!value.empty()) return;
    std::erase_if(candidates, [](const FoundFolder& found) {
        return found.folder.size() > kMaxStoredPathLength;
    });
    if (candidates.empty()) return;
    RowFill row{member, std::move(candidates), std::nullopt};
    if (row.candidates.size() == 1) {
        row.taken = 0;
    } else if (pick) {
        row.taken = pick(*FieldOf(member), row.candidates);
        if (row.taken && *row.taken >= row.candidates.size()) row.taken.reset();
    }
    if (row.taken) value = row.candidates[*row.taken].folder;
    filled.push_back(std::move(row));
}

}  // namespace

std::optional<FoundFolder> ProposedMissionsFolder(const GameDescription& game,
                                                  const FinderPlaces& places) {
    if (places.home.empty()) return std::nullopt;
    FoundFolder proposal;
    proposal.folder =
        places.home + SubFolder("Documents") + SubFolder("Wendmoor") + SubFolder(game.name);
    proposal.proposed = !FolderWalk::IsFolder(proposal.folder);
    proposal.origin =
        proposal.proposed ? "proposed, not there yet" : "Wendmoor's missions folder in ~/Documents";
    return proposal;
}

std::vector<RowFill> FillEmptyFolders(GamePaths& paths, const GameFindings& findings,
                                      const FinderPlaces& places, const PickFolder& pick) {
    std::vector<RowFill> filled;
    for (const GameId id : kAllGames) {
        const GameDescription* game = FindGame(id);
        if (game == nullptr) continue;
        FillRow(paths, game->gameFolder, findings.GameFolders(id), pick, filled);
        const std::string& gameFolder = paths.*game->gameFolder;
        if (gameFolder.empty()) continue;
        if (game->saves != nullptr && (paths.*game->saves).empty()) {
            FillRow(paths, game->saves, FindSaveFolders(*game, gameFolder), pick, filled);
        }
        if (const auto proposal = ProposedMissionsFolder(*game, places)) {
            FillRow(paths, game->missions, {*proposal}, pick, filled);
        }
    }
    return filled;
}

Outcome MakeProposedFolder(const std::string& folder) {
    FileSystem fileSystem;
    const bool withSeparator = !folder.empty() && folder.back() == kPathSeparator;
    return CreateFolderChain(fileSystem, {}, withSeparator ? folder : folder + kPathSeparator);
}

}  // namespace wendmoor
