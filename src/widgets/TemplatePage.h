#pragma once

#include <span>
#include <vector>

#include <QIcon>
#include <QLabel>
#include <QString>
#include <QWidget>

#include "ui/DialogTemplate.h"

class QDialog;

namespace wendmoor {

// A page of controls made from a template table and placed in dialog units. The template's size
// is the page's smallest; when it is larger, each control moves and grows by its share of the
// extra room.
class TemplatePage : public QWidget {
    Q_OBJECT

  public:
    TemplatePage(int width, int height, std::span<const TemplateControl> controls,
                 QWidget* parent = nullptr);

    template <typename Widget = QWidget>
    Widget* Control(const std::string& name) const {
        return findChild<Widget*>(QString::fromStdString(name));
    }
    // Places the controls anew: a note's width follows its text.
    void Arrange();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Placed {
        QWidget* widget;
        UnitRect rect;
        const TemplateControl* control;
    };
    std::vector<Placed> placed_;
};

QIcon AppIcon();

// The About box's readme line: a screen reader meets it as a link it can follow, not as the
// static text of a label. A class of its own, so its interface is found before a label's.
class ReadmeLink final : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;
};

// The window's actions (its context menu's commands) become buttons of the window in the
// accessibility tree, which leaves popup menus out: a screen reader finds them by name and
// presses them.
void ExposeActionsToScreenReaders(QWidget* window);

// Puts the page into the dialog, scrolled when the dialog is smaller than the page, with `below`
// (if any) under it, always in view. The dialog starts at the page's size, or the screen's when
// that is smaller, and may grow.
void ShowScrolling(QDialog& dialog, QWidget* page, QWidget* below = nullptr);

}  // namespace wendmoor
