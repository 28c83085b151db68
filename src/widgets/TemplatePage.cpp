#include "widgets/TemplatePage.h"

#include <QDialog>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace wendmoor {

TemplatePage::TemplatePage(int width, int height, QWidget* parent)
    : QWidget(parent), units_(font()) {
    setMinimumSize(units_.Size(width, height));
}

void TemplatePage::Place(QWidget* widget, int x, int y, int width, int height, Growth growth) {
    placed_.push_back({widget, units_.Rect(x, y, width, height), growth});
    Arrange();
}

void TemplatePage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void TemplatePage::Arrange() {
    const int extraX = qMax(0, width() - minimumWidth());
    const int extraY = qMax(0, height() - minimumHeight());
    for (const Placed& placed : placed_) {
        const Growth& g = placed.growth;
        QRect rect = placed.rect.translated(extraX * g.moveX / 2, extraY * g.moveY / 2);
        rect.setWidth(rect.width() + extraX * g.growX / 2);
        rect.setHeight(rect.height() + extraY * g.growY / 2);
        if (g.hugRight)
            rect.setLeft(rect.right() - qMin(rect.width(), placed.widget->sizeHint().width()));
        placed.widget->setGeometry(rect);
    }
}

QScrollArea* ShowScrolling(QDialog& dialog, TemplatePage* page, QWidget* below) {
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* scroll = new QScrollArea(&dialog);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    layout->addWidget(scroll, 1);
    if (below != nullptr) layout->addWidget(below);

    QSize wanted = page->minimumSize();
    if (below != nullptr) wanted.rheight() += below->minimumHeight();
    if (const QScreen* screen = dialog.screen()) {
        // Room for the frame and the title bar, which the screen's geometry leaves out.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        // A page that scrolls up and down loses the scroll bar's width: the dialog gets it
        // back, so the page need not scroll sideways too.
        if (wanted.height() > room.height()) {
            wanted.rwidth() += dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
        wanted = wanted.boundedTo(room);
    }
    dialog.setMinimumSize(wanted);
    dialog.resize(wanted);
    return scroll;
}

}  // namespace wendmoor
