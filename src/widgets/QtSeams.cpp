#include "widgets/QtSeams.h"

#include <memory>

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTextEdit>

#include "platform/Launcher.h"
#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "widgets/QtText.h"

namespace wendmoor {

int QtDialogRunner::Run(QDialog& dialog) {
    return dialog.exec();
}

namespace {

// Plain text: a system's text may hold what looks like a tag.
int ShowBox(QMessageBox::Icon icon, ParentWindow parent, const std::string& caption,
            const std::string& text, const std::string& details,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
    QMessageBox box(icon, ToQt(caption), ToQt(text), buttons, WidgetOf(parent));
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(buttons & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok);
    if (buttons & QMessageBox::No) box.setDefaultButton(QMessageBox::No);
    if (!details.empty()) {
        box.setDetailedText(ToQt(details));
        if (auto* shown = box.findChild<QTextEdit*>()) shown->setAccessibleName(kDetailsName);
    }
    return box.exec();
}

// Wide enough for the screen's room: the file dialogs' size.
void ResizeFileDialog(QFileDialog& dialog) {
    const QFontMetrics metrics(dialog.font());
    dialog.resize(dialog.sizeHint().expandedTo(
        QSize(metrics.averageCharWidth() * 130, metrics.height() * 32)));
}

// Qt's file dialog writes its history to the user's QtProject.conf when it is destroyed,
// whatever settings file this program was told to use. So there is one dialog for the whole
// run, never destroyed; between uses it has no parent, so that no window takes it along.
QFileDialog& SharedFileDialog(QWidget* parent) {
    static QFileDialog* const dialog = [] {
        auto* made = new QFileDialog;
        made->setOption(QFileDialog::DontUseNativeDialog, true);
        made->setAcceptMode(QFileDialog::AcceptOpen);
        ResizeFileDialog(*made);
        return made;
    }();
    dialog->setParent(parent, dialog->windowFlags());
    return *dialog;
}

void ShowShellError(MessageBoxes& messages, QWidget* parent, const LaunchFailure& failure,
                    const std::string& file, const std::string& directory) {
    messages.ShowInformation(ParentOf(parent), kErrorCaption,
                             ShellErrorText(failure, file, directory), failure.details);
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
    return ShowBox(QMessageBox::Question, parent, caption, text, {},
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtFileChooser::ChooseFile(ParentWindow parent,
                                                     const FileChoiceRequest& request) {
    const QString initialText = ToQt(request.initialText);
    const bool chooseFolder = request.pattern.empty() && !request.fileMustExist;
    QFileDialog& dialog = SharedFileDialog(WidgetOf(parent));
    const std::unique_ptr<QFileDialog, void (*)(QFileDialog*)> lent(
        &dialog, [](QFileDialog* used) { used->setParent(nullptr, used->windowFlags()); });
    dialog.setDirectory(request.initialFolder.empty() ? QDir::homePath()
                                                      : ToQt(request.initialFolder));
    // What the last use typed or chose does not stand in the name box of this one.
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->clear();
    // Qt's own check of an existing file minds the letter case ("Zeus.exe" would not find
    // "zeus.exe"): the caller checks in any letter case instead. Qt's file-name box empties on
    // every change of folder, so a folder row chooses the folder itself, titled with the hint.
    dialog.setFileMode(chooseFolder ? QFileDialog::Directory : QFileDialog::AnyFile);
    dialog.setWindowTitle(chooseFolder ? initialText : ToQt(kOpenTitle));
    dialog.setOption(QFileDialog::HideNameFilterDetails, !request.pattern.empty());
    dialog.setNameFilter(request.pattern.empty()
                             ? QFileDialog::tr("All Files (*)")
                             : ToQt(CaseBlindFileType(request.pattern, request.pattern)));
    if (!chooseFolder) dialog.selectFile(initialText);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        const QFileInfo chosen(dialog.selectedFiles().first());
        const QString folder = chooseFolder ? chosen.absoluteFilePath() : chosen.absolutePath();
        if (QFileInfo(folder).isDir()) {
            if (!chooseFolder) return PathOf(chosen.absoluteFilePath());
            return PathOf(folder + (folder.endsWith(QLatin1Char('/')) ? "" : "/") + initialText);
        }
        // The Windows dialog refuses such a choice and stays open; so does this one.
        QMessageBox::warning(&dialog, dialog.windowTitle(), ToQt(PathMissingText(PathOf(folder))));
    }
}

std::optional<std::size_t> QtFolderPicker::PickFolder(ParentWindow parent,
                                                      const std::string& question,
                                                      const std::vector<std::string>& lines) {
    QStringList items;
    for (const std::string& line : lines) items << ToQt(line);
    QInputDialog dialog(WidgetOf(parent));
    dialog.setWindowTitle(kFindGamesCaption);
    dialog.setLabelText(ToQt(question));
    dialog.setComboBoxItems(items);
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
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const qsizetype index = items.indexOf(dialog.textValue());
    return index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index));
}

std::vector<std::string> QtPackageFileChooser::ChoosePackageFiles(ParentWindow parent,
                                                                  const std::string& startFolder) {
    QString start = ToQt(startFolder);
    if (start.isEmpty() || !QDir(start).exists())
        start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (start.isEmpty() || !QDir(start).exists()) start = QDir::homePath();
    QFileDialog dialog(WidgetOf(parent), kAddCaption, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters({kZipPackagesFilter, kAllFilesFilter});
    ResizeFileDialog(dialog);
    std::vector<std::string> files;
    if (dialog.exec() != QDialog::Accepted) return files;
    for (const QString& file : dialog.selectedFiles()) files.push_back(PathOf(file));
    return files;
}

bool QtSameNameQuestion::AskKeepBoth(ParentWindow parent, const std::string& question) {
    QMessageBox box(QMessageBox::Question, kAddCaption, ToQt(question), QMessageBox::NoButton,
                    WidgetOf(parent));
    QPushButton* keep = box.addButton(kKeepBothButton, QMessageBox::AcceptRole);
    box.setEscapeButton(box.addButton(kSkipButton, QMessageBox::RejectRole));
    box.setDefaultButton(keep);
    box.exec();
    return box.clickedButton() == keep;
}

bool OpenAndFollow(Launcher& launcher, MessageBoxes& messages, QWidget* parent,
                   const std::string& file, const std::string& directory) {
    Launch launch = launcher.Open(file, directory);
    if (launch.failure) {
        ShowShellError(messages, parent, *launch.failure, file, directory);
        return false;
    }
    if (!launch.watch) return true;
    // The watch is followed on the window's event loop, so the window answers meanwhile; a
    // failure that shows only later gets the same box, whenever it comes.
    std::shared_ptr<LaunchWatch> watch = std::move(launch.watch);
    auto* notifier = new QSocketNotifier(watch->Descriptor(), QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [=, &messages] {
        if (!watch->Collect()) return;
        // Over: no more notices, and gone once the event loop gets back here; the box below
        // runs an event loop of its own.
        notifier->setEnabled(false);
        notifier->deleteLater();
        if (watch->Failure()) ShowShellError(messages, parent, *watch->Failure(), file, directory);
    });
    return true;
}

}  // namespace wendmoor
