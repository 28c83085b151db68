#include "widgets/GroupFrame.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace wendmoor {

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    setFocusPolicy(Qt::NoFocus);
}

bool GroupFrame::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && buddy_ != nullptr) {
        buddy_->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QGroupBox::event(event);
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);

    // Etched: a shadow line with a light line one pixel to the lower right.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    if (title().isEmpty()) return;
    // The title stands on the frame's top line, with a little space on either side.
    const int left = metrics.averageCharWidth() + 1;
    const int gap = qMax(2, metrics.averageCharWidth() / 3);
    const QRect textRect(left, 0, metrics.size(Qt::TextShowMnemonic, title()).width() + 2 * gap,
                         metrics.height());
    painter.fillRect(textRect, palette().color(backgroundRole()));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     title());
}

}  // namespace wendmoor
