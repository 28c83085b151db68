#include "app/QtFinderSeams.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringList>

#include "app/QtSeams.h"
#include "finder/GameFinder.h"

namespace wendmoor {

namespace {

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

}  // namespace

std::optional<std::size_t> QtFolderPicker::PickFolder(QWidget* parent, const QString& row,
                                                      const std::vector<FoundFolder>& candidates) {
    QStringList items;
    for (const FoundFolder& found : candidates) {
        items << Text(found.folder) + QStringLiteral("    (") + Text(found.origin) +
                     QLatin1Char(')');
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        parent, QStringLiteral("Find games"),
        QStringLiteral("Several folders were found for \"%1\".\nWhich one shall it be?").arg(row),
        items, 0, false, &ok);
    if (!ok) return std::nullopt;
    const qsizetype index = items.indexOf(chosen);
    if (index < 0) return std::nullopt;
    return static_cast<std::size_t>(index);
}

std::vector<std::string> QtPackageFileChooser::ChoosePackageFiles(QWidget* parent) {
    QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (start.isEmpty() || !QDir(start).exists()) start = QDir::homePath();

    QFileDialog dialog(parent, QStringLiteral("Add packages"), start);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(
        {QStringLiteral("ZIP packages (%1)").arg(CaseInsensitiveWildcard(QStringLiteral("*.zip"))),
         QStringLiteral("All files (*)")});
    const QFontMetrics metrics(dialog.font());
    dialog.resize(dialog.sizeHint().expandedTo(
        QSize(metrics.averageCharWidth() * 130, metrics.height() * 32)));
    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles()) {
        files.push_back(QFile::encodeName(file).toStdString());
    }
    return files;
}

bool QtSameNameQuestion::AskKeepBoth(QWidget* parent, const std::string& existingName,
                                     const std::string& keptName) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Add packages"),
                    QStringLiteral("The missions folder holds \"%1\" already, with other content.\n"
                                   "Keep both (the new one as \"%2\") or skip the new one?")
                        .arg(Text(existingName), Text(keptName)),
                    QMessageBox::NoButton, parent);
    QPushButton* keep = box.addButton(QStringLiteral("Keep both"), QMessageBox::AcceptRole);
    QPushButton* skip = box.addButton(QStringLiteral("Skip"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(skip);
    box.exec();
    return box.clickedButton() == keep;
}

}  // namespace wendmoor
