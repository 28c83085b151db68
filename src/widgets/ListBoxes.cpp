#include "widgets/ListBoxes.h"

#include <algorithm>

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace wendmoor {

namespace {

// Sizes each row as the style sizes a row of plain Latin text in the list's font. The style's
// own measure follows the text: a fallback font for another script, or a line break in a file
// name, makes a taller row, and with uniform item sizes one row sets the height of all.
class UniformRowDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        QStyleOptionViewItem sample = option;
        initStyleOption(&sample, index);
        sample.text = QStringLiteral("Ag");
        const QWidget* widget = option.widget;
        const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        size.setHeight(
            style->sizeFromContents(QStyle::CT_ItemViewItem, &sample, QSize(), widget).height());
        return size;
    }
};

}  // namespace

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new UniformRowDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const bool nothingSelected = selectedItems().isEmpty();
    switch (event->key()) {
        case Qt::Key_Down:
            if (nothingSelected && count() > 0 && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
                setCurrentRow(0);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            if (!nothingSelected) emit commandRequested();
            return;
        default:
            break;
    }
    QListWidget::keyPressEvent(event);
}

bool ListBox::IsLineCutOff(int row) const {
    const QListWidgetItem* line = item(row);
    if (line == nullptr) return false;
    const QRect rect = visualItemRect(line);
    const int textWidth = sizeHintForIndex(indexFromItem(line)).width();
    return rect.left() < 0 || rect.left() + textWidth > viewport()->width();
}

bool ListBox::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QListWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QListWidgetItem* line = itemAt(help->pos());
    if (line != nullptr && IsLineCutOff(row(line))) {
        QToolTip::showText(help->globalPos(), line->text(), viewport());
        return true;
    }
    // A whole line needs no tooltip; the box's own, if any, is shown instead.
    QToolTip::hideText();
    return QListWidget::viewportEvent(event);
}

void FillListBox(QListWidget* list, const std::vector<std::string>& lines) {
    const QSignalBlocker quiet(list);
    list->setUpdatesEnabled(false);
    list->clear();
    for (const std::string& line : lines) {
        auto* item = new QListWidgetItem(
            QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size())));
        item->setData(Qt::UserRole, QByteArray::fromStdString(line));
        list->addItem(item);  // appended: the list box never sorts
    }
    list->setUpdatesEnabled(true);
}

void SelectListLine(QListWidget* list, const std::optional<std::string>& line) {
    const QSignalBlocker quiet(list);
    list->clearSelection();
    const std::vector<std::string> lines = ListLines(list);
    const auto found = line ? std::find(lines.begin(), lines.end(), *line) : lines.end();
    if (found == lines.end()) return;
    list->setCurrentRow(static_cast<int>(found - lines.begin()));
    list->scrollToItem(list->currentItem());
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
