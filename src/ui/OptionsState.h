#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "finder/GameFinder.h"
#include "settings/GamePaths.h"
#include "ui/Seams.h"

namespace wendmoor {

class FolderPicker;

// One row of the options dialog: a folder in a read-only field that only its "..." button
// changes, framed by a group box.
struct OptionsRow {
    const char* title;  // the group box's text
    int boxY;           // dialog units
    std::string GamePaths::*field;
    const char* name;  // the value's name in the settings; the row's controls are named after it
    const char* initialText;               // stands in the chooser's name box
    bool gameFolder;                       // only a different folder is taken
    std::string GamePaths::*emptiedSaves;  // emptied when the game folder changes
    const char* spokenName;                // what a screen reader calls the field
};

inline constexpr std::size_t kOptionsRowCount = 11;
// Top to bottom, as the dialog shows them; also the tab order.
extern const std::array<OptionsRow, kOptionsRowCount> kOptionsRows;

inline constexpr char kOptionsTitle[] = "QARN Options Dialog";

// The options dialog without a toolkit: a working copy of the folders that the rows show and
// the "..." buttons change; Accept copies it back, and nothing else touches the caller's
// folders. With the finder it also knows where each row's value came from.
class OptionsState {
  public:
    OptionsState(GamePaths& paths, FileChooser& chooser, MessageBoxes& messages,
                 ParentWindow parent);

    const GamePaths& Working() const { return working_; }
    const std::string& Value(std::size_t row) const { return working_.*kOptionsRows[row].field; }

    // Runs the file chooser with `buffer` as initial text: a text with a "." is a program's
    // name and is also the one pattern offered; the file must then exist, in any letter case.
    // The chooser opens in `currentFolder`, or the nearest folder above it that exists. True
    // when the player chose; `buffer` then holds the chosen file's folder with its trailing
    // separator. A folder too long to be stored, or a program that is not there, is refused
    // with a message and the chooser opens again.
    bool BrowseForFile(std::string& buffer, const std::string& currentFolder = {});
    // The "..." button of a row. A changed game folder empties the game's save row, which then
    // says why.
    void Browse(std::size_t row);

    // The finder: where each row's value came from, and filling the empty rows.
    void EnableFinder(const FinderPlaces& places, FolderPicker& picker);
    bool FinderEnabled() const { return picker_ != nullptr; }
    // Fills the empty rows from `findings`, asking the picker where several were found for a
    // row; a row that holds a value is never changed. Answers how many rows were filled.
    int Fill(const GameFindings& findings);
    // "Find games": what the finder finds now, into the empty rows.
    void FindGames();
    // Above each row: where its value came from, or why it changed.
    std::string RowNote(std::size_t row) const;
    // Beside "Find games": what the last search did.
    const std::string& FindStatus() const { return findStatus_; }
    // Rows the finder filled that still hold what it found.
    bool HoldsFoundValues() const;

    // OK: makes the proposed folders still standing, then copies the working folders back.
    // False, with the failed rows saying so, when a proposed folder could not be made.
    bool Accept();

  private:
    bool MakeAcceptedProposals();

    GamePaths& paths_;
    GamePaths working_;
    FileChooser& chooser_;
    MessageBoxes& messages_;
    ParentWindow parent_;

    FinderPlaces places_;
    FolderPicker* picker_ = nullptr;
    std::array<std::optional<FoundFolder>, kOptionsRowCount> found_;
    std::array<bool, kOptionsRowCount> proposalFailed_{};
    std::array<bool, kOptionsRowCount> emptiedByGameFolder_{};
    std::string findStatus_;
};

// Rows as the first-start question names them, for "discard what was found?".
std::string DiscardFoundQuestion(const OptionsState& state);

}  // namespace wendmoor
