#pragma once

#include <array>
#include <string>

#include <QDialog>

#include "ui/OptionsState.h"

class QLabel;
class QLineEdit;

namespace wendmoor {

class FolderPicker;

// "QARN Options Dialog": the view of OptionsState. Each of the eleven rows is a read-only
// field that only its "..." button changes, framed by its group box, with the row's note on the
// box's top line. The rows scroll when the screen is too small for them; OK and Cancel stay
// in view below. OK copies the working folders back; Cancel, Escape and the close box leave
// them untouched. The caller saves and refreshes.
class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    OptionsDialog(GamePaths& paths, FileChooser& fileChooser, MessageBoxes& messages,
                  QWidget* parent = nullptr);

    const GamePaths& WorkingPaths() const { return state_.Working(); }
    OptionsState& State() { return state_; }

    // The "..." button of one row, by the button's id (1026, 1028, ... 1046).
    void OnBrowse(int buttonId);
    void accept() override;
    // At a first start, Cancel asks before it discards the folders the finder filled in.
    void AskBeforeDiscardingFound() { askBeforeDiscarding_ = true; }
    void reject() override;

    // The finder: a "Find games" button and each row's note. Without this call there is none.
    void EnableFinder(const FinderPlaces& places, FolderPicker& picker);
    void OnFindGames();
    bool FillFromFindings(const GameFindings& findings);
    // The note of the row with that field id, as the row shows it.
    QString OriginText(int editId) const;

  private:
    void UpdateFields();

    OptionsState state_;
    MessageBoxes& messages_;
    std::array<QLineEdit*, kOptionsRowCount> edits_{};
    std::array<QLabel*, kOptionsRowCount> notes_{};
    QWidget* buttonBar_ = nullptr;
    QLabel* findStatus_ = nullptr;
    bool askBeforeDiscarding_ = false;
};

}  // namespace wendmoor
