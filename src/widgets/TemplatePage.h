#pragma once

#include <vector>

#include <QWidget>

#include "widgets/DialogUnits.h"

class QDialog;
class QScrollArea;

namespace wendmoor {

// How a control follows a larger page, in halves of the extra width and height.
struct PageGrowth {
    int moveX = 0, growX = 0, moveY = 0, growY = 0;
    // Only as wide as the widget wants, at the right end of its rectangle (a note on a
    // frame's top line that must not hide more of the line than its text).
    bool hugRight = false;
};

// A page of controls placed in dialog units. Its template size is its smallest; when it is
// larger, each control moves and grows by its share of the extra room, in halves: a list that
// grows by 1 takes half of the extra width. In a dialog it stands in a scroll area, so a screen
// too small for the template (a high scale factor) scrolls it instead of cutting it off.
class TemplatePage : public QWidget {
    Q_OBJECT

  public:
    TemplatePage(int width, int height, QWidget* parent = nullptr);

    const DialogUnits& Units() const { return units_; }
    using Growth = PageGrowth;
    // Places the widgets anew, after a change of what they show.
    void Arrange();
    void Place(QWidget* widget, int x, int y, int width, int height, Growth growth = {});

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Placed {
        QWidget* widget;
        QRect rect;
        Growth growth;
    };
    DialogUnits units_;
    std::vector<Placed> placed_;
};

// Puts the page into the dialog, scrolled when the dialog is smaller than the page, with
// `below` (if any) under it, always in view. The dialog starts at the page's size, or the
// screen's when that is smaller, and may grow.
QScrollArea* ShowScrolling(QDialog& dialog, TemplatePage* page, QWidget* below = nullptr);

}  // namespace wendmoor
