#pragma once

#include <QGroupBox>

namespace wendmoor {

// A group box drawn as a Windows dialog draws it: an etched frame whose top line runs through
// the middle of the title, so the dialog-unit rectangles frame their controls as
// they were laid out. (Qt's own styles put the title above the frame, which shifts the frame
// down by a line and crowds the controls of a 25-unit "Select Game" box.) The box is a
// decoration only: it lies beneath the controls and takes no focus.
class GroupFrame : public QGroupBox {
    Q_OBJECT

  public:
    GroupFrame(const QString& title, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace wendmoor
