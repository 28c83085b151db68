#include "widgets/DialogUnits.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

#include "widgets/QtSeams.h"

namespace wendmoor {
namespace {

TEST(DialogUnitsTest, MsSansSerifEightConvertsAsOnWindows) {
    // MS Sans Serif 8 at 96 dpi: base units 6 by 13.
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.X(4), 6);
    EXPECT_EQ(units.Y(8), 13);
    EXPECT_EQ(units.X(407), 611);  // 610.5 rounds up, as MulDiv does
    EXPECT_EQ(units.Y(346), 562);  // 562.25
    EXPECT_EQ(units.Size(407, 346), QSize(611, 562));
}

TEST(DialogUnitsTest, RectanglesConvertTheirCorners) {
    const DialogUnits units(7, 15);
    // Left 10 -> 17.5 -> 18, right 170 -> 297.5 -> 298: the width is what lies between.
    EXPECT_EQ(units.Rect(10, 40, 160, 190), QRect(18, 75, 280, 356));
    // Two controls that meet in dialog units meet in pixels.
    EXPECT_EQ(units.Rect(5, 0, 45, 10).right() + 1, units.Rect(50, 0, 10, 10).left());
}

TEST(DialogUnitsTest, BaseUnitsComeFromTheFont) {
    QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const DialogUnits units(font);
    EXPECT_EQ(units.BaseUnitX(), (width / 26 + 1) / 2);
    EXPECT_EQ(units.BaseUnitY(), metrics.height());

    // A larger font gives a larger layout.
    font.setPointSizeF(font.pointSizeF() * 2);
    const DialogUnits larger(font);
    EXPECT_GT(larger.X(100), units.X(100));
    EXPECT_GT(larger.Y(100), units.Y(100));
}

TEST(CaseInsensitiveWildcardTest, EveryLetterInBothCases) {
    EXPECT_EQ(CaseInsensitiveWildcard(QStringLiteral("Zeus.exe")),
              QStringLiteral("[Zz][Ee][Uu][Ss].[Ee][Xx][Ee]"));
    EXPECT_EQ(CaseInsensitiveWildcard(QStringLiteral("C3.exe")),
              QStringLiteral("[Cc]3.[Ee][Xx][Ee]"));
    EXPECT_EQ(CaseInsensitiveWildcard(QStringLiteral("a*[b]")),
              QStringLiteral("[Aa][*][[][Bb][]]"));
}

}  // namespace
}  // namespace wendmoor
