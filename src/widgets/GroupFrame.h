#pragma once

#include <QGroupBox>

namespace wendmoor {

// A group box drawn as a Windows dialog draws it: an etched frame whose top line runs through
// the middle of the title, so the dialog-unit rectangles frame their controls as
// they were laid out. (Qt's own styles put the title above the frame, which shifts the frame
// down by a line and crowds the controls of a 25-unit "Select Game" box.) The box lies beneath
// the controls and takes no focus; its title's mnemonic moves the focus to its buddy.
class GroupFrame : public QGroupBox {
    Q_OBJECT

  public:
    GroupFrame(const QString& title, QWidget* parent);

    // The control the title's mnemonic focuses (a list, which has no title of its own).
    void SetBuddy(QWidget* buddy) { buddy_ = buddy; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* buddy_ = nullptr;
};

}  // namespace wendmoor
