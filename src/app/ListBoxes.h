#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QString>

class QListWidget;

namespace wendmoor {

// The three list boxes of the main window, used as Windows list boxes are. A line
// keeps the exact bytes it was made from in its item's data (Qt::UserRole, a QByteArray);
// the text shown is only their reading in the local encoding. None of these functions lets
// the list box report a selection change: the window's handlers answer the user's changes
// only, as LBN_SELCHANGE does.

// How a line's bytes are shown.
QString LineText(const std::string& bytes);

// LB_RESETCONTENT followed by LB_ADDSTRING for each line, in the given order: the lines come
// sorted (ListOrder) and the list box does not sort them again.
void FillListBox(QListWidget* list, const std::vector<std::string>& lines);

// LB_RESETCONTENT.
void ResetListBox(QListWidget* list);

// LB_SETCURSEL with -1.
void ClearListSelection(QListWidget* list);

// LB_GETCURSEL and GetText: the bytes of the selected line, or nothing.
std::optional<std::string> SelectedLine(const QListWidget* list);

// Every line's bytes, in the list's order (for tests and the CLI's twin checks).
std::vector<std::string> ListLines(const QListWidget* list);

}  // namespace wendmoor
