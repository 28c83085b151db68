#pragma once

#include <functional>

#include <QDialog>

class QLabel;
class QProgressBar;

namespace wendmoor {

// What a long command shows: its lines, a bar and, when it can stop, "Cancel". Cancel, Escape
// and the close box ask the command to stop and leave the dialog standing, saying what happens,
// until the command has ended; only the window closes it.
class ProgressDialog : public QDialog {
  public:
    // `onCancel` empty: the command cannot stop, and there is no "Cancel".
    ProgressDialog(std::function<void()> onCancel, QWidget* parent);
    void Show(const std::string& text, int permille);
    void reject() override;

  private:
    std::function<void()> onCancel_;
    QLabel* text_;
    QProgressBar* bar_;
};

}  // namespace wendmoor
