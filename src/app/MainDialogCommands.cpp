// The commands that run off the window's thread: install, deinstall and adding packages (from
// "Add packages...", a drop or the command line); and finding the games at a first start.

#include <QButtonGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputDialog>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/MainDialog.h"
#include "finder/GameFinder.h"
#include "games/Games.h"
#include "options/OptionsDialog.h"
#include "ui/BackgroundTask.h"
#include "ui/PackageAdding.h"
#include "widgets/ProgressDialog.h"
#include "widgets/QtSeams.h"
#include "widgets/QtText.h"

namespace wendmoor {

namespace {

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> urls;
    if (data != nullptr) {
        for (const QUrl& url : data->urls()) urls.push_back(url.toEncoded().toStdString());
    }
    return LocalFilesOfUrls(urls);
}

}  // namespace

void MainDialog::RunPackageCommand(PackageList source) {
    // Clicks that arrive while a command and its refresh run are no new command.
    if (busy_) return;
    RunListCommand(state_, *this, services_.messages, source, waitingForLock_);
}

ParentWindow MainDialog::WindowParent() {
    return ParentOf(this);
}

void MainDialog::FocusList(PackageList list) {
    (list == PackageList::Installed ? installedList_ : availableList_)->setFocus();
}

void MainDialog::RunInBackground(const std::function<void(BackgroundTask&)>& work,
                                 const std::function<ProgressView()>& describe,
                                 const std::function<void()>& cancel) {
    busy_ = true;
    setEnabled(false);
    {
        const OverrideCursor busy(Qt::BusyCursor);
        // A top-level window of its own, so it stays usable while the main window is disabled.
        ProgressDialog dialog(cancel, this);
        BackgroundTask task(work);
        QEventLoop loop;
        QElapsedTimer elapsed;
        elapsed.start();
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (task.ServeQuestion()) return;
            if (task.Finished()) return loop.quit();
            if (dialog.isVisible() || elapsed.elapsed() >= kProgressDelay.count()) {
                const ProgressView view = describe();
                dialog.Show(view.text, view.permille);
            }
        });
        poll.start(20);
        // The loop paints and answers the progress dialog; the disabled window defers what
        // arrives meanwhile (DeferWhileBusy) and starts nothing.
        loop.exec();
    }
    setEnabled(true);
    busy_ = false;
}

void MainDialog::OfferFoundFolders() {
    GameFindings findings;
    {
        const OverrideCursor wait;
        findings = FirstStartFindings(state_, services_.finder);
    }
    if (findings.Empty()) return;
    OptionsDialog dialog(state_.Paths(), services_.files, services_.messages, this,
                         services_.finder);
    dialog.FillFromFindings(findings);
    dialog.AskBeforeDiscardingFound();
    if (services_.dialogs.Run(dialog) == QDialog::Accepted) SaveFolders();
}

void MainDialog::OnAddPackages() {
    if (services_.finder == nullptr) return;
    ChooseAndAddFiles(state_, *this, services_.finder->packageFiles, lastAddFolder_);
}

void MainDialog::AddPackages(const std::vector<std::string>& files) {
    if (services_.finder == nullptr) return;
    if (DeferWhileBusy([this, files] { AddPackages(files); })) return;
    AddFilesToGame(state_, *this, services_.messages, services_.finder->sameName, files);
}

void MainDialog::AddFilesFromCommandLine(const std::vector<std::string>& files) {
    if (services_.finder != nullptr) AddCommandLineFiles(state_, *this, files);
}

int MainDialog::AskForGame() {
    QInputDialog question(this);
    question.setWindowTitle(kAddCaption);
    question.setLabelText(kAskGameForAdd);
    QStringList names;
    for (const std::string& name : GameChoiceNames()) names << ToQt(name);
    question.setComboBoxItems(names);
    question.setComboBoxEditable(false);
    if (services_.dialogs.Run(question) != QDialog::Accepted) return kNoGame;
    const qsizetype chosen = names.indexOf(question.textValue());
    return chosen < 0 ? kNoGame : kCaesar3 + static_cast<int>(chosen);
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
    std::vector<std::string> files = LocalFiles(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    // Added once the drop has ended, so the program the files came from is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, files = std::move(files)] { AddPackages(files); }, Qt::QueuedConnection);
}

}  // namespace wendmoor
