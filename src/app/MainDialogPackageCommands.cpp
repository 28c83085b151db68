// The commands on one package of the selected game, run off the window's thread.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QTimer>

#include "app/MainDialog.h"
#include "ui/BackgroundTask.h"
#include "widgets/ListBoxes.h"
#include "widgets/ProgressDialog.h"
#include "widgets/QtText.h"
#include "widgets/Seams.h"

namespace wendmoor {

void MainDialog::OnInstall() {
    RunPackageCommand(PackageList::Available);
}

void MainDialog::OnDeinstall() {
    RunPackageCommand(PackageList::Installed);
}

void MainDialog::RunPackageCommand(PackageList source) {
    // Clicks that arrive while a command and its refresh run are no new command.
    if (!busy_) RunListCommand(state_, *this, services_.messages, source, waitingForLock_);
}

void MainDialog::FocusList(PackageList list) {
    (list == PackageList::Installed ? installedList_ : availableList_)->setFocus();
}

ParentWindow MainDialog::WindowParent() {
    return ParentOf(this);
}

void MainDialog::RunInBackground(const std::function<void(BackgroundTask&)>& work,
                                 const std::function<ProgressView()>& describe,
                                 const std::function<void()>& cancel) {
    busy_ = true;
    setEnabled(false);
    QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    {
        // A top-level window of its own, so it stays usable while the main window is disabled.
        ProgressDialog dialog(cancel, this);
        BackgroundTask task(work);
        QEventLoop loop;
        QElapsedTimer elapsed;
        elapsed.start();
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (task.ServeQuestion()) return;
            if (task.Finished()) {
                loop.quit();
                return;
            }
            if (dialog.isVisible() || elapsed.elapsed() >= kProgressDelay.count()) {
                const ProgressView view = describe();
                dialog.Show(view.text, view.permille);
            }
        });
        poll.start(20);
        // The window is disabled and defers what arrives meanwhile (DeferWhileBusy): the loop
        // paints and answers the progress dialog, and starts nothing of the window's.
        loop.exec();
    }
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    busy_ = false;
}

}  // namespace wendmoor
