#include "widgets/QtSeams.h"

#include "ui/ControlTexts.h"
#include "widgets/QtText.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextEdit>

namespace wendmoor {

int QtDialogRunner::Run(QDialog& dialog) {
    return dialog.exec();
}

namespace {

void ShowBox(QMessageBox::Icon icon, ParentWindow parent, const std::string& caption,
             const std::string& text, const std::string& details) {
    QMessageBox box(icon, ToQt(caption), ToQt(text), QMessageBox::Ok, WidgetOf(parent));
    box.setTextFormat(Qt::PlainText);  // a system's text may hold what looks like a tag
    if (!details.empty()) {
        box.setDetailedText(ToQt(details));
        if (auto* text = box.findChild<QTextEdit*>())
            text->setAccessibleName(QString::fromUtf8(kDetailsName));
    }
    box.exec();
}

}  // namespace

void QtMessageBoxes::ShowInformation(ParentWindow parent, const std::string& caption,
                                     const std::string& text, const std::string& details) {
    ShowBox(QMessageBox::Information, parent, caption, text, details);
}

void QtMessageBoxes::ShowWarning(ParentWindow parent, const std::string& caption,
                                 const std::string& text) {
    ShowBox(QMessageBox::Warning, parent, caption, text, {});
}

bool QtMessageBoxes::AskYesNo(ParentWindow parent, const std::string& caption,
                              const std::string& text) {
    QMessageBox box(QMessageBox::Question, ToQt(caption), ToQt(text),
                    QMessageBox::Yes | QMessageBox::No, WidgetOf(parent));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
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

namespace {

// Qt's file dialog writes its history and last folder to the user's QtProject.conf when it is
// destroyed, whatever settings file this program was told to use, and that cannot be switched
// off. So there is one dialog for the whole run, never destroyed: its history stays in
// memory. Between uses it has no parent, so that no window takes it along when it closes.
QFileDialog& SharedFileDialog() {
    static QFileDialog* const dialog = [] {
        auto* made = new QFileDialog;
        made->setOption(QFileDialog::DontUseNativeDialog, true);
        made->setAcceptMode(QFileDialog::AcceptOpen);
        const QFontMetrics metrics(made->font());
        made->resize(made->sizeHint().expandedTo(
            QSize(metrics.averageCharWidth() * 130, metrics.height() * 32)));
        return made;
    }();
    return *dialog;
}

// Lends the shared dialog to a parent for one use.
class BorrowedDialog {
  public:
    explicit BorrowedDialog(QWidget* parent) : dialog_(SharedFileDialog()) {
        dialog_.setParent(parent, dialog_.windowFlags());
    }
    ~BorrowedDialog() { dialog_.setParent(nullptr, dialog_.windowFlags()); }
    BorrowedDialog(const BorrowedDialog&) = delete;
    BorrowedDialog& operator=(const BorrowedDialog&) = delete;
    QFileDialog& operator*() const { return dialog_; }

  private:
    QFileDialog& dialog_;
};

}  // namespace

std::optional<std::string> QtFileChooser::ChooseFile(ParentWindow parent,
                                                     const FileChoiceRequest& request) {
    const QString initialText = ToQt(request.initialText);
    const bool chooseFolder = request.pattern.empty() && !request.fileMustExist;

    const BorrowedDialog borrowed(WidgetOf(parent));
    QFileDialog& dialog = *borrowed;
    dialog.setDirectory(request.initialFolder.empty() ? QDir::homePath()
                                                      : ToQt(request.initialFolder));
    // What the last use typed or chose does not stand in the name box of this one.
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->clear();
    if (chooseFolder) {
        // Windows let the user browse into the folder and accept with the hint ("locate Zeus
        // Save folder") still standing as the file name. Qt's dialog clears its file-name box
        // on every change of folder, so a folder row chooses the folder itself, with the hint
        // as the dialog's title, and answers the hint inside that folder.
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::HideNameFilterDetails, false);
        dialog.setNameFilter(QFileDialog::tr("All Files (*)"));
        dialog.setWindowTitle(initialText);
    } else {
        // Qt's own check of an existing file minds the letter case: "Zeus.exe" would not find
        // "zeus.exe". The caller checks in any letter case instead.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setWindowTitle(QString::fromUtf8(kOpenTitle));
        if (!request.pattern.empty()) {
            // The list shows the game's program in any letter case; the pattern's details
            // are hidden, so the type box reads just "Zeus.exe" as on Windows.
            const QString pattern = ToQt(request.pattern);
            dialog.setOption(QFileDialog::HideNameFilterDetails, true);
            dialog.setNameFilter(pattern + QStringLiteral(" (") + CaseInsensitiveWildcard(pattern) +
                                 QLatin1Char(')'));
        } else {
            dialog.setOption(QFileDialog::HideNameFilterDetails, false);
            dialog.setNameFilter(QFileDialog::tr("All Files (*)"));
        }
        dialog.selectFile(initialText);
    }

    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) return std::nullopt;
        if (chooseFolder) {
            const QFileInfo folder(chosen.first());
            if (folder.isDir()) {
                QString path = folder.absoluteFilePath();
                if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
                return PathOf(path + initialText);
            }
            QMessageBox::warning(
                &dialog, dialog.windowTitle(),
                QStringLiteral("%1\nPath does not exist.").arg(folder.absoluteFilePath()));
            continue;
        }
        const QFileInfo info(chosen.first());
        if (QFileInfo(info.absolutePath()).isDir()) return PathOf(info.absoluteFilePath());
        // The Windows dialog refuses such a choice and stays open; so does this one.
        QMessageBox::warning(&dialog, dialog.windowTitle(),
                             QStringLiteral("%1\nPath does not exist.").arg(info.absolutePath()));
    }
}

}  // namespace wendmoor
