// The commands on one package of the selected game.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QProgressDialog>
#include <QTimer>
#include <limits>
#include <thread>

#include "app/BackupsDialog.h"
#include "app/MainDialog.h"
#include "packages/CommandProgress.h"
#include "packages/Games.h"
#include "widgets/ListBoxes.h"
#include "widgets/Seams.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kPollMilliseconds = 50;

QString ProgressText(bool install, const std::string& name, const CommandProgress& progress,
                     bool waitingForLock) {
    QString text = (install ? QStringLiteral("Installing %1") : QStringLiteral("Deinstalling %1"))
                       .arg(QString::fromLocal8Bit(name));
    if (waitingForLock) return text + QStringLiteral("\nwaiting for another Wendmoor command");
    text += QStringLiteral("\nfile %1 of %2").arg(progress.FilesDone()).arg(progress.FilesTotal());
    if (progress.BytesTotal() > 0) {
        text += QStringLiteral(", %1 of %2 MB")
                    .arg(progress.BytesDone() / 1e6, 0, 'f', 1)
                    .arg(progress.BytesTotal() / 1e6, 0, 'f', 1);
    }
    return text + QLatin1Char('\n') + QString::fromLocal8Bit(progress.CurrentFile());
}

int ProgressValue(const CommandProgress& progress) {
    if (progress.BytesTotal() > 0) {
        return static_cast<int>(kProgressSteps * progress.BytesDone() / progress.BytesTotal());
    }
    return progress.FilesTotal() > 0 ? kProgressSteps * progress.FilesDone() / progress.FilesTotal()
                                     : 0;
}

}  // namespace

void MainDialog::OnAvailableSelChange() {
    ShowPackageContent(availableList_, installedList_);
}

void MainDialog::OnInstalledSelChange() {
    ShowPackageContent(installedList_, availableList_);
}

void MainDialog::OnInstall() {
    RunPackageCommand(availableList_, true);
}

void MainDialog::OnDeinstall() {
    RunPackageCommand(installedList_, false);
}

// A double-click comes after the selection change of its first click: the content is shown
// first and then emptied by the command.
void MainDialog::OnAvailableDblClk() {
    OnInstall();
}

void MainDialog::OnInstalledDblClk() {
    OnDeinstall();
}

void MainDialog::ShowPackageContent(QListWidget* source, QListWidget* other) {
    // No wait cursor here: reading one archive's directory is quick.
    ResetListBox(contentList_);
    session_.ClearContent();
    ClearListSelection(other);  // at most one of the two lists shows a selection
    const std::optional<std::string> name = SelectedLine(source);
    if (!name) return;
    if (session_.CurrentGame() == kNoGame) return;
    session_.ShowPackageContent(*name);
    FillListBox(contentList_, session_.Content());
}

void MainDialog::RunPackageCommand(QListWidget* source, bool install) {
    // Clicks that arrive while a command and its refresh run are no new command.
    if (commandRunning_) return;
    const std::optional<std::string> name = SelectedLine(source);
    if (!name) return;  // nothing at all changes
    ClearListSelection(source);
    ResetListBox(contentList_);
    session_.ClearContent();
    if (session_.CurrentGame() == kNoGame) return;

    const Outcome outcome = RunCommandInBackground(*name, install);
    MirrorSession();
    ReportOutcome(install, outcome);
}

Outcome MainDialog::RunCommandInBackground(const std::string& name, bool install) {
    CommandProgress progress;
    Outcome outcome;
    commandRunning_ = true;
    waitingForLock_ = false;
    setEnabled(false);
    QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));

    QEventLoop loop;
    std::thread worker([&] {
        outcome = session_.RunPackageCommand(name, install, &progress);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // A top-level window of its own, so it stays usable while the main window is disabled.
    QProgressDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Wendmoor"));
    dialog.setRange(0, kProgressSteps);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Shown by the poll below, never by the dialog's own timer.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    dialog.setCancelButtonText(install ? QStringLiteral("Cancel") : QString());
    dialog.hide();
    connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        progress.Cancel();
        dialog.setLabelText(QStringLiteral("Cancelling: nothing is replaced ..."));
    });
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer poll;
    connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (progress.CancelRequested()) return;
        if (!dialog.isVisible() && elapsed.elapsed() < kProgressDelay.count()) return;
        dialog.setLabelText(ProgressText(install, name, progress, waitingForLock_));
        dialog.setValue(ProgressValue(progress));
        if (!dialog.isVisible()) dialog.show();
    });
    poll.start(kPollMilliseconds);
    loop.exec();
    worker.join();
    poll.stop();
    dialog.hide();

    QApplication::restoreOverrideCursor();
    setEnabled(true);
    commandRunning_ = false;
    return outcome;
}

void MainDialog::done(int result) {
    if (commandRunning_) return;
    QDialog::done(result);
}

void MainDialog::ReportOutcome(bool install, const Outcome& outcome) {
    QString text;
    if (!outcome.Ok()) {
        text = (install ? QStringLiteral("Not everything could be installed:\n\n")
                        : QStringLiteral("Not everything could be deinstalled:\n\n")) +
               MessageLines(outcome.Lines());
    }
    if (const QString kept = KeptFilesText(session_.Kept()); !kept.isEmpty()) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += kept;
    }
    if (text.isEmpty()) return;
    services_.messages.ShowInformation(this, QStringLiteral("Wendmoor"), text);
}

}  // namespace wendmoor
