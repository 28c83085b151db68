#include "widgets/AppIcon.h"

#include <QPainter>
#include <QPolygonF>

namespace wendmoor {

QPixmap DrawAppIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / 32.0, size / 32.0);  // drawn on a 32 by 32 grid

    // The tile: sandstone with a darker rim.
    painter.setPen(QPen(QColor(0x8a, 0x5a, 0x2b), 1.0));
    painter.setBrush(QColor(0xe8, 0xc3, 0x7d));
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    // The temple front in marble white with a dark outline.
    const QColor marble(0xfb, 0xf8, 0xf0);
    painter.setPen(QPen(QColor(0x3b, 0x2a, 0x1a), 1.0));
    painter.setBrush(marble);
    painter.drawPolygon(QPolygonF({QPointF(4, 11), QPointF(16, 4), QPointF(28, 11)}));  // pediment
    painter.drawRect(QRectF(5, 11, 22, 2.5));  // entablature
    for (int column = 0; column < 4; ++column) {
        painter.drawRect(QRectF(6.5 + column * 5.5, 13.5, 3, 11));
    }
    painter.drawRect(QRectF(4.5, 24.5, 23, 2.5));  // steps
    painter.drawRect(QRectF(3, 27, 26, 2.5));
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawAppIcon(size));
    return icon;
}

}  // namespace wendmoor
