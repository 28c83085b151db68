#pragma once

#include <QRect>
#include <QSize>

class QFont;
class QWidget;

namespace wendmoor {

// Dialog units as Windows defines them, so the dialog layouts keep their proportions
// with any font: a horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height. The average width is that of "A".."Z" "a".."z",
// rounded as Windows rounds it; conversions round like MulDiv.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseUnitX, int baseUnitY) : baseX_(baseUnitX), baseY_(baseUnitY) {}

    int BaseUnitX() const { return baseX_; }
    int BaseUnitY() const { return baseY_; }

    int X(int du) const;
    int Y(int du) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

    // Places the widget at the rectangle given in dialog units.
    void Place(QWidget* widget, int x, int y, int width, int height) const;

  private:
    int baseX_;
    int baseY_;
};

}  // namespace wendmoor
