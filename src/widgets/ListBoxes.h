#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QListWidget>
#include <QString>

namespace wendmoor {

// A list box of the main window, with what a keyboard and a screen reader expect of it:
// - every row is as tall as a row of Latin text, whatever script or line break a name holds,
//   so no list gets taller rows than another;
// - with nothing selected, Down selects the first row (Qt would move on from the row that
//   took the focus, which is the first, and select the second);
// - Enter asks for the list's command, what a double-click does, when a row is selected,
//   and never reaches the window's default button, which would end the program;
// - a line cut off by the box's edge shows its whole text as a tooltip, the others none.
class ListBox : public QListWidget {
    Q_OBJECT

  public:
    // `name` and `description` are what a screen reader says of the list.
    ListBox(const QString& name, const QString& description, QWidget* parent = nullptr);

    // Whether the line's text reaches past the box's visible width.
    bool IsLineCutOff(int row) const;

  signals:
    void commandRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
};

// The three list boxes of the main window, used as Windows list boxes are. A line
// keeps the exact bytes it was made from in its item's data (Qt::UserRole, a QByteArray);
// the text shown is only their reading in the local encoding. None of these functions lets
// the list box report a selection change: the window's handlers answer the user's changes
// only, as LBN_SELCHANGE does.

// How a line's bytes are shown.
QString LineText(const std::string& bytes);

// Empties the list and adds each line, in the given order: the lines come sorted (ListOrder)
// and the list does not sort them again.
void FillListBox(QListWidget* list, const std::vector<std::string>& lines);

// Empties the list.
void ResetListBox(QListWidget* list);

// No line selected.
void ClearListSelection(QListWidget* list);

// Selects the line of those bytes; nothing, or a line not listed: none.
void SelectListLine(QListWidget* list, const std::optional<std::string>& line);

// The bytes of the selected line, or nothing.
std::optional<std::string> SelectedLine(const QListWidget* list);

// Every line's bytes, in the list's order (for tests and the CLI's twin checks).
std::vector<std::string> ListLines(const QListWidget* list);

}  // namespace wendmoor
