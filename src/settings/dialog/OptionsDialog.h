#pragma once

#include <array>
#include <optional>
#include <string>

#include <QDialog>

#include "finder/GameFinder.h"
#include "settings/GamePaths.h"

class QLabel;
class QLineEdit;

namespace wendmoor {

class FileChooser;
class FolderPicker;
class MessageBoxes;

// "QARN Options Dialog": the eleven folders, each in a
// read-only field that only its "..." button changes. Fields and buttons carry names for
// screen readers ("Zeus save-game folder", "Browse for the Zeus save-game folder"). The dialog
// edits a working copy; OK copies it back into the caller's GamePaths, Cancel, Escape and the close
// box leave them untouched. The caller saves and refreshes.
class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    // `messages` tells why a chosen folder is refused.
    OptionsDialog(GamePaths& paths, FileChooser& fileChooser, MessageBoxes& messages,
                  QWidget* parent = nullptr);

    const GamePaths& WorkingPaths() const { return working_; }

    // The "..." button of one row, by the button's id (1026, 1028, ... 1046).
    void OnBrowse(int buttonId);

    // Runs the file chooser with the initial text in `buffer`: a text with a "." is a
    // program's name and is also the one pattern offered, and the file must then exist. The
    // chooser opens in `currentFolder`, or the nearest folder above it that exists; with
    // none, where the chooser likes. True when the user chose something; `buffer` then holds
    // the chosen file's folder with its trailing separator ("/" for a file in the root). A
    // folder too long to be stored is refused with a message, and the chooser opens again
    // in it.
    bool BrowseForFile(std::string& buffer, const std::string& currentFolder = {});

    // OnOK: the working folders go back to the caller's GamePaths, then the dialog closes
    // with Accepted. A proposed folder still standing in its row is made first; when that
    // fails, its row says so and the dialog stays open.
    void accept() override;

    // The finder (OptionsDialogFinder.cpp): a "Find games" button and, above each row, where
    // its value came from. Without this call the dialog has neither.
    void EnableFinder(const FinderPlaces& places, FolderPicker& picker);
    // "Find games": fills the empty rows with what the finder finds now.
    void OnFindGames();
    // Fills the empty rows from what was found; where several folders were found for a row,
    // the picker asks. A row that holds a value is never changed. True when a row was filled.
    bool FillFromFindings(const GameFindings& findings);
    // Where the row's value came from, as the row shows it; empty without the finder.
    QString OriginText(int editId) const;

  private:
    // Shows the working folders in the fields.
    void UpdateFields();
    void ShowOrigins();
    bool MakeAcceptedProposals();
    static std::string GamePaths::*FieldOfRow(std::size_t row);
    static QString TitleOfRow(std::size_t row);
    static int EditIdOfRow(std::size_t row);
    static QString NameOfRow(std::size_t row);

    GamePaths& paths_;
    GamePaths working_;
    FileChooser& fileChooser_;
    MessageBoxes& messages_;
    std::array<QLineEdit*, 11> edits_{};

    FinderPlaces places_;
    FolderPicker* picker_ = nullptr;  // set by EnableFinder
    std::array<std::optional<FoundFolder>, 11> found_;
    std::array<QLabel*, 11> origins_{};
    std::array<bool, 11> proposalFailed_{};
    QLabel* findStatus_ = nullptr;
};

}  // namespace wendmoor
