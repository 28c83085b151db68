#include "app/QtSeams.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace wendmoor {

int QtDialogRunner::Run(QDialog& dialog) {
    return dialog.exec();
}

void QtMessageBoxes::ShowInformation(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

QString CaseInsensitiveWildcard(const QString& name) {
    QString pattern;
    for (const QChar c : name) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower != upper) {
            pattern += QLatin1Char('[') + upper + lower + QLatin1Char(']');
        } else if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[') ||
                   c == QLatin1Char(']')) {
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        } else {
            pattern += c;
        }
    }
    return pattern;
}

std::optional<std::string> QtFileChooser::ChooseFile(QWidget* parent,
                                                     const FileChoiceRequest& request) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDirectory(QDir::currentPath());
    if (!request.pattern.empty()) {
        // The list shows the game's program in any letter case; the pattern's details are
        // hidden, so the type box reads just "Zeus.exe" as on Windows.
        const QString text = QFile::decodeName(QByteArray::fromStdString(request.pattern));
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setNameFilter(text + QStringLiteral(" (") + CaseInsensitiveWildcard(text) +
                             QLatin1Char(')'));
    }
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(request.initialText)));

    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) return std::nullopt;
        const QFileInfo info(chosen.first());
        const bool folderExists = QFileInfo(info.absolutePath()).isDir();
        if (folderExists && (!request.fileMustExist || info.isFile())) {
            return QFile::encodeName(info.absoluteFilePath()).toStdString();
        }
        // The Windows dialog refuses such a choice and stays open; so do we.
        QMessageBox::warning(
            &dialog, dialog.windowTitle(),
            folderExists ? QStringLiteral("%1\nFile not found.").arg(info.absoluteFilePath())
                         : QStringLiteral("%1\nPath does not exist.").arg(info.absolutePath()));
    }
}

}  // namespace wendmoor
