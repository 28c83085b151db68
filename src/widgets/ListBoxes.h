#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QListWidget>

namespace wendmoor {

// A list box of the main window, with what a keyboard and a screen reader expect of it: every
// row as tall as a row of Latin text, whatever script or line break a name holds; with nothing
// selected, Down selects the first row (Qt would select the second); Enter asks for the list's
// command, as a double-click does, and never reaches the window's default button, which would
// end the program; a line cut off by the box's edge shows its whole text as a tooltip, the
// others none.
class ListBox : public QListWidget {
    Q_OBJECT

  public:
    explicit ListBox(QWidget* parent = nullptr);
    bool IsLineCutOff(int row) const;

  signals:
    void commandRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
};

// The list boxes used as Windows list boxes are. A line keeps the exact bytes it was made from
// in its item's data; the text shown is their reading in the local encoding. The lines come
// sorted (ListOrder) and are not sorted again. None of these functions lets the list report a
// selection change: the window answers the user's changes only, as LBN_SELCHANGE does.
void FillListBox(QListWidget* list, const std::vector<std::string>& lines);
// Selects the line of those bytes; nothing, or a line not listed: none.
void SelectListLine(QListWidget* list, const std::optional<std::string>& line);
std::optional<std::string> SelectedLine(const QListWidget* list);
// Every line's bytes, in the list's order.
std::vector<std::string> ListLines(const QListWidget* list);

}  // namespace wendmoor
