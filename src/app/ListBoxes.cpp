#include "app/ListBoxes.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace wendmoor {

QString LineText(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void FillListBox(QListWidget* list, const std::vector<std::string>& lines) {
    const QSignalBlocker quiet(list);
    list->setUpdatesEnabled(false);
    list->clear();
    for (const std::string& line : lines) {
        auto* item = new QListWidgetItem(LineText(line));
        item->setToolTip(item->text());  // a long name is cut off in the box
        item->setData(Qt::UserRole, QByteArray::fromStdString(line));
        list->addItem(item);  // appended: the list box never sorts
    }
    list->setUpdatesEnabled(true);
}

void ResetListBox(QListWidget* list) {
    const QSignalBlocker quiet(list);
    list->clear();
}

void ClearListSelection(QListWidget* list) {
    const QSignalBlocker quiet(list);
    list->clearSelection();
}

std::optional<std::string> SelectedLine(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return selected.first()->data(Qt::UserRole).toByteArray().toStdString();
}

std::vector<std::string> ListLines(const QListWidget* list) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(list->count()));
    for (int row = 0; row < list->count(); ++row) {
        lines.push_back(list->item(row)->data(Qt::UserRole).toByteArray().toStdString());
    }
    return lines;
}

}  // namespace wendmoor
