#include "widgets/DialogUnits.h"

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace wendmoor {

namespace {

// MulDiv(value, numerator, denominator) for the small positive values of a layout: the
// product divided with rounding half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (width / 26 + 1) / 2;
    baseY_ = metrics.height();
    if (baseX_ < 1) baseX_ = 1;
    if (baseY_ < 1) baseY_ = 1;
}

int DialogUnits::X(int du) const {
    return MulDiv(du, baseX_, 4);
}
int DialogUnits::Y(int du) const {
    return MulDiv(du, baseY_, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    // Like MapDialogRect: the corners are converted, so neighbouring controls meet exactly.
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

QSize DialogUnits::Size(int width, int height) const {
    return QSize(X(width), Y(height));
}

void DialogUnits::Place(QWidget* widget, int x, int y, int width, int height) const {
    widget->setGeometry(Rect(x, y, width, height));
}

}  // namespace wendmoor
