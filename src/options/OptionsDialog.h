#pragma once

#include <QDialog>

#include "ui/FinderSeams.h"
#include "ui/OptionsState.h"

namespace wendmoor {

class TemplatePage;

// "QARN Options Dialog": the view of OptionsState, its rows scrolled when the screen is too small
// for them, OK and Cancel always in view below. With the finder there is a "Find games" button.
class OptionsDialog : public QDialog {
    Q_OBJECT

  public:
    OptionsDialog(GamePaths& paths, FileChooser& fileChooser, MessageBoxes& messages,
                  QWidget* parent = nullptr, FinderServices* finder = nullptr);

    const GamePaths& WorkingPaths() const { return state_.Working(); }
    // The "..." button of the row that holds that folder.
    void Browse(std::string GamePaths::*field);
    void accept() override;
    // At a first start, Cancel asks before it discards the folders the finder filled in.
    void AskBeforeDiscardingFound() { askBeforeDiscarding_ = true; }
    void reject() override;
    void FillFromFindings(const GameFindings& findings);

  private:
    void UpdateFields();

    OptionsState state_;
    MessageBoxes& messages_;
    TemplatePage* rows_;
    TemplatePage* bar_;
    bool askBeforeDiscarding_ = false;
};

}  // namespace wendmoor
