#include "widgets/QtFinderSeams.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>

#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "widgets/QtSeams.h"
#include "widgets/QtText.h"

namespace wendmoor {

std::optional<std::size_t> QtFolderPicker::PickFolder(ParentWindow parentWindow,
                                                      const std::string& question,
                                                      const std::vector<std::string>& lines) {
    QWidget* parent = WidgetOf(parentWindow);
    QStringList items;
    for (const std::string& line : lines) items << ToQt(line);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(kFindGamesCaption));
    dialog.setLabelText(ToQt(question));
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems, true);
    dialog.setTextValue(items.value(0));
    if (auto* list = dialog.findChild<QListView*>()) list->setAccessibleName(ToQt(question));
    // Wide enough for the longest line, as far as the screen allows.
    const QFontMetrics metrics(dialog.font());
    int widest = 0;
    for (const QString& item : items) widest = qMax(widest, metrics.horizontalAdvance(item));
    const QRect screen =
        dialog.screen() != nullptr ? dialog.screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    dialog.resize(qMin(widest + metrics.averageCharWidth() * 8, screen.width() * 9 / 10),
                  metrics.height() * (qMin<int>(items.size(), 8) + 8));
    // At the first start the window is not shown yet; stand in the middle of the screen then,
    // not at the hidden window's corner.
    if (parent == nullptr || !parent->isVisible()) {
        dialog.move(screen.center() - dialog.rect().center());
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const qsizetype index = items.indexOf(dialog.textValue());
    if (index < 0) return std::nullopt;
    return static_cast<std::size_t>(index);
}

std::vector<std::string> QtPackageFileChooser::ChoosePackageFiles(ParentWindow parent,
                                                                  const std::string& startFolder) {
    QString start = ToQt(startFolder);
    if (start.isEmpty() || !QDir(start).exists()) {
        start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    }
    if (start.isEmpty() || !QDir(start).exists()) start = QDir::homePath();

    QFileDialog dialog(WidgetOf(parent), QString::fromUtf8(kAddCaption), start);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // "*." stays a wildcard; the extension matches in any letter case.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters({(QString::fromUtf8(kZipPackagesFilter) + QStringLiteral(" (*.%1)"))
                               .arg(CaseInsensitiveWildcard(QStringLiteral("zip"))),
                           QString::fromUtf8(kAllFilesFilter)});
    const QFontMetrics metrics(dialog.font());
    dialog.resize(dialog.sizeHint().expandedTo(
        QSize(metrics.averageCharWidth() * 130, metrics.height() * 32)));
    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles()) {
        files.push_back(PathOf(file));
    }
    return files;
}

bool QtSameNameQuestion::AskKeepBoth(ParentWindow parent, const std::string& question) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAddCaption), ToQt(question),
                    QMessageBox::NoButton, WidgetOf(parent));
    QPushButton* keep = box.addButton(QString::fromUtf8(kKeepBothButton), QMessageBox::AcceptRole);
    QPushButton* skip = box.addButton(QString::fromUtf8(kSkipButton), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(skip);
    box.exec();
    return box.clickedButton() == keep;
}

}  // namespace wendmoor
