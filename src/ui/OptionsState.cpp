#include "ui/OptionsState.h"

#include "finder/FolderFill.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "ui/FinderSeams.h"
#include "ui/WindowTexts.h"

namespace wendmoor {

const std::array<OptionsRow, kOptionsRowCount> kOptionsRows = {{
    {"Caesar3 Missions Folder (*.zip)", 5, &GamePaths::caesar3_missions, "caesar3_missions",
     "locate Caesar3 missions folder", false, nullptr, "Caesar III missions folder"},
    {"Caesar3 Folder (C3.exe)", 34, &GamePaths::caesar3_path, "caesar3_path", "C3.exe", true,
     nullptr, "Caesar III game folder"},
    {"Pharao Missions Folder (*.zip)", 75, &GamePaths::pharao_missions, "pharao_missions",
     "locate Pharao missions folder", false, nullptr, "Pharao missions folder"},
    {"Pharao Folder (Pharaoh.exe)", 105, &GamePaths::pharao_path, "pharao_path", "Pharaoh.exe",
     true, &GamePaths::pharao_saves, "Pharao game folder"},
    {"Pharao Savegame Folder (*.sav)", 135, &GamePaths::pharao_saves, "pharao_saves",
     "locate Pharao Save folder", false, nullptr, "Pharao save-game folder"},
    {"Zeus Missions Folder (*.zip)", 175, &GamePaths::zeus_missions, "zeus_missions",
     "locate Zeus missions folder", false, nullptr, "Zeus missions folder"},
    {"Zeus Folder (Zeus.exe)", 205, &GamePaths::zeus_path, "zeus_path", "Zeus.exe", true,
     &GamePaths::zeus_saves, "Zeus game folder"},
    {"Zeus Savegame Folder (*.sav)", 234, &GamePaths::zeus_saves, "zeus_saves",
     "locate Zeus Save folder", false, nullptr, "Zeus save-game folder"},
    {"Emperor Missions Folder (*.zip)", 275, &GamePaths::emperor_missions, "emperor_missions",
     "locate Emperor missions folder", false, nullptr, "Emperor missions folder"},
    {"Emperor Folder (Emperor.exe)", 305, &GamePaths::emperor_path, "emperor_path", "Emperor.exe",
     true, &GamePaths::emperor_saves, "Emperor game folder"},
    {"Emperor Savegame Folder (*.sav)", 335, &GamePaths::emperor_saves, "emperor_saves",
     "locate Emperor Save folder", false, nullptr, "Emperor save-game folder"},
}};

namespace {

std::size_t RowOf(std::string GamePaths::*field) {
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        if (kOptionsRows[row].field == field) return row;
    }
    return 0;
}

// The folder itself when it exists (in its spelling on disk), else the nearest one above it.
std::string NearestExistingFolder(const FileSystem& fileSystem, const std::string& folder) {
    if (folder.empty()) return {};
    std::string candidate = fileSystem.Resolve(folder);
    while (!candidate.empty()) {
        if (candidate.back() != kPathSeparator) candidate += kPathSeparator;
        if (fileSystem.FolderExists(candidate)) return candidate;
        candidate.pop_back();
        candidate = FolderOf(candidate);
    }
    return {};
}

}  // namespace

OptionsState::OptionsState(GamePaths& paths, FileChooser& chooser, MessageBoxes& messages,
                           ParentWindow parent)
    : paths_(paths), working_(paths), chooser_(chooser), messages_(messages), parent_(parent) {}

bool OptionsState::BrowseForFile(std::string& buffer, const std::string& currentFolder) {
    const FileSystem fileSystem;
    FileChoiceRequest request;
    request.initialText = buffer;
    request.initialFolder = NearestExistingFolder(fileSystem, currentFolder);
    if (buffer.find('.') != std::string::npos) {
        request.pattern = buffer;
        request.fileMustExist = true;
    }
    for (;;) {
        const std::optional<std::string> chosen = chooser_.ChooseFile(parent_, request);
        if (!chosen) return false;
        const std::string folder = FolderOf(*chosen);
        if (folder.empty()) return false;
        // The file system's lookup minds no letter case: "zeus.exe" is what "Zeus.exe" asks for.
        if (request.fileMustExist && !fileSystem.FileExists(*chosen)) {
            messages_.ShowWarning(parent_, request.initialText, *chosen + "\nFile not found.");
            request.initialFolder = NearestExistingFolder(fileSystem, folder);
            continue;
        }
        if (folder.size() <= kMaxStoredPathLength) {
            buffer = folder;
            return true;
        }
        // The folder must be stored whole to be loaded again.
        messages_.ShowWarning(parent_, kPathTooLongCaption,
                              PathTooLongText(folder, kMaxStoredPathLength));
        request.initialFolder = NearestExistingFolder(fileSystem, folder);
    }
}

void OptionsState::Browse(std::size_t row) {
    if (row >= kOptionsRowCount) return;
    const OptionsRow& options = kOptionsRows[row];
    std::string buffer = options.initialText;
    // A program row starts in the game folder, the folder of the current program.
    if (!BrowseForFile(buffer, working_.*options.field)) return;
    std::string& field = working_.*options.field;
    // Compared byte for byte: another letter case is another folder.
    if (options.gameFolder && buffer == field) return;
    if (options.emptiedSaves != nullptr && !(working_.*options.emptiedSaves).empty()) {
        (working_.*options.emptiedSaves).clear();
        emptiedByGameFolder_[RowOf(options.emptiedSaves)] = true;
    }
    field = buffer;
    emptiedByGameFolder_[row] = false;
}

void OptionsState::EnableFinder(const FinderPlaces& places, FolderPicker& picker) {
    places_ = places;
    picker_ = &picker;
}

std::string OptionsState::RowNote(std::size_t row) const {
    const std::string& value = Value(row);
    if (value.empty()) {
        return emptiedByGameFolder_[row] ? "emptied: the game folder changed, choose it anew"
                                         : std::string();
    }
    if (picker_ == nullptr) return {};
    const std::optional<FoundFolder>& found = found_[row];
    const bool fromFinder = found && found->folder == value;
    if (fromFinder && proposalFailed_[row]) return "could not be made: choose another folder";
    if (fromFinder && found->proposed) return "proposed: made when you click OK";
    if (fromFinder) return "found: " + found->origin;
    if (value == paths_.*kOptionsRows[row].field) return "from your settings";
    return "chosen by you";
}

int OptionsState::Fill(const GameFindings& findings) {
    const auto pick =
        [this](const GamePathField& field,
               const std::vector<FoundFolder>& candidates) -> std::optional<std::size_t> {
        if (picker_ == nullptr) return std::nullopt;
        std::vector<std::string> lines;
        for (const FoundFolder& found : candidates) {
            lines.push_back(FolderPickerLine(found.folder, found.origin));
        }
        return picker_->PickFolder(
            parent_, FolderPickerQuestion(kOptionsRows[RowOf(field.member)].title), lines);
    };
    int filled = 0;
    for (const RowFill& fill : FillEmptyFolders(working_, findings, places_, pick)) {
        if (!fill.taken) continue;
        const std::size_t row = RowOf(fill.field);
        found_[row] = fill.candidates[*fill.taken];
        proposalFailed_[row] = false;
        emptiedByGameFolder_[row] = false;
        ++filled;
    }
    if (findings.Empty()) {
        findStatus_ = "No game found.";
    } else if (filled == 0) {
        findStatus_ = "Nothing new for the empty rows.";
    } else if (filled == 1) {
        findStatus_ = "1 empty row filled: check it, then OK.";
    } else {
        findStatus_ = std::to_string(filled) + " empty rows filled: check them, then OK.";
    }
    if (findings.StoppedEarly()) findStatus_ += ' ' + findings.StoppedEarlyNote();
    return filled;
}

void OptionsState::FindGames() {
    Fill(wendmoor::FindGames(places_));
}

bool OptionsState::HoldsFoundValues() const {
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        if (found_[row] && found_[row]->folder == Value(row)) return true;
    }
    return false;
}

bool OptionsState::Accept() {
    if (!MakeAcceptedProposals()) return false;
    paths_ = working_;
    return true;
}

bool OptionsState::MakeAcceptedProposals() {
    bool allMade = true;
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        std::optional<FoundFolder>& found = found_[row];
        if (!found || !found->proposed || found->folder != Value(row)) continue;
        proposalFailed_[row] = !MakeProposedFolder(found->folder).Ok();
        if (proposalFailed_[row]) {
            allMade = false;
        } else {
            found->proposed = false;
            found->origin = "made on OK";
        }
    }
    return allMade;
}

std::string DiscardFoundQuestion(const OptionsState& state) {
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
        if (state.RowNote(row).rfind("found: ", 0) == 0 ||
            state.RowNote(row).rfind("proposed: ", 0) == 0) {
            lines.push_back(std::string(kOptionsRows[row].spokenName) + ": " + state.Value(row));
        }
    }
    return "Discard the folders that were found?\n\n" + MessageLines(lines) +
           "\nNo keeps them as your settings; you can change them in Options at any time.";
}

}  // namespace wendmoor
