// The commands that run off the window's thread: install, deinstall and adding packages (from
// "Add packages...", a drop or the command line); and finding the games at a first start.
#include <mutex>

#include <QAbstractButton>
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
#include "archive/CommandProgress.h"
#include "games/Games.h"
#include "platform/Path.h"
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
    const std::optional<PackageCommand> command = state_.CommandFrom(source);
    if (!command) return;
    if (const std::string question = state_.QuestionBefore(*command);
        !question.empty() &&
        !services_.messages.AskYesNo(ParentOf(this), kSharedMapCaption, question)) {
        return;
    }
    state_.BeginCommand();
    Mirror();
    CommandProgress progress;
    Outcome outcome;
    waitingForLock_ = false;
    RunInBackground(
        [&](BackgroundTask&) { outcome = state_.RunCommand(*command, &progress); },
        [&] {
            return CommandProgressView(command->Install(), command->package, progress,
                                       waitingForLock_);
        },
        // Only an install can stop: it replaces nothing before all its files are written.
        command->Install() ? std::function<void()>([&] { progress.Cancel(); })
                           : std::function<void()>());
    const std::string report = state_.FinishCommand(*command, outcome, progress.CancelRequested());
    Mirror();
    // The focus stays on the list the command came from; the package is selected in the list
    // it moved to, so Enter does not reach the default button.
    (source == PackageList::Installed ? installedList_ : availableList_)->setFocus();
    if (!report.empty()) Tell(!outcome.Ok(), kAppCaption, report);
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
    if (services_.finder == nullptr || !state_.NoFolderSet()) return;
    GameFindings findings;
    {
        const OverrideCursor wait;
        findings = FindGames(services_.finder->places);
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
    if (FindGame(state_.CurrentGame()) == nullptr) return AddPackages({});  // says why not
    const std::vector<std::string> files =
        services_.finder->packageFiles.ChoosePackageFiles(ParentOf(this), lastAddFolder_);
    if (files.empty()) return;
    lastAddFolder_ = FolderOf(files.front());
    AddPackages(files);
}

void MainDialog::AddPackages(const std::vector<std::string>& files) {
    if (services_.finder == nullptr) return;
    if (DeferWhileBusy([this, files] { AddPackages(files); })) return;
    const GameDescription* game = FindGame(state_.CurrentGame());
    if (game == nullptr) return Tell(false, kAddCaption, kChooseGameForAdd);
    AddReport report;
    std::mutex currentMutex;
    std::string current;
    RunInBackground(
        [&](BackgroundTask& task) {
            report = wendmoor::AddPackages(
                state_.Files(), *game, state_.Paths(), files,
                [&](const std::string& existing, const std::string& kept) {
                    return task.AskOnWindowThread([&] {
                        return services_.finder->sameName.AskKeepBoth(
                            ParentOf(this), SameNameQuestionText(existing, kept));
                    });
                },
                [&](const std::string& file) {
                    const std::lock_guard lock(currentMutex);
                    current = file;
                });
        },
        [&] {
            const std::lock_guard lock(currentMutex);
            return ProgressView{AddingText(current), 0};
        },
        {});
    if (report.added) SelectGame(game->id);
    if (!report.message.empty()) Tell(true, kAddCaption, report.message);
}

void MainDialog::AddFilesFromCommandLine(const std::vector<std::string>& files) {
    if (files.empty() || services_.finder == nullptr) return;
    if (FindGame(state_.CurrentGame()) == nullptr) {
        const int game = AskForGame();
        if (game == kNoGame) return;
        gameButtons_->button(game)->setChecked(true);
        SelectGame(game);
    }
    AddPackages(files);
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
