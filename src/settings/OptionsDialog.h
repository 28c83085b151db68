#pragma once

#include <array>
#include <string>

#include <QDialog>

#include "settings/GamePaths.h"

class QLineEdit;

namespace wendmoor {

class FileChooser;
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
    // with Accepted.
    void accept() override;

  private:
    // Shows the working folders in the fields (UpdateData from members to controls).
    void UpdateFields();

    GamePaths& paths_;
    GamePaths working_;
    FileChooser& fileChooser_;
    MessageBoxes& messages_;
    std::array<QLineEdit*, 11> edits_{};
};

}  // namespace wendmoor
