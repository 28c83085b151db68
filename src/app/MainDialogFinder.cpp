// Finding the games at a first start, and adding packages from anywhere: "Add packages..." on
// the window's context menu, files dropped on the window and files given on the command line.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputDialog>
#include <QMimeData>
#include <QStringList>
#include <QUrl>

#include "app/MainDialog.h"
#include "finder/GameFinder.h"
#include "games/Games.h"
#include "options/OptionsDialog.h"
#include "platform/Path.h"
#include "ui/BackgroundTask.h"
#include "ui/OptionsState.h"
#include "ui/PackageAdding.h"
#include "widgets/QtText.h"
#include "widgets/Seams.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

// The local files a drop carries, as the bytes of their paths: the URL's percent-encoded path
// decoded to bytes, so a name that is no valid text arrives unchanged.
std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        if (!url.host().isEmpty() && url.host() != QStringLiteral("localhost")) continue;
        const QByteArray path =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!path.isEmpty()) files.push_back(path.toStdString());
    }
    return files;
}

}  // namespace

void MainDialog::PrepareOptionsDialog(OptionsDialog& dialog) {
    if (services_.finder == nullptr) return;
    dialog.EnableFinder(services_.finder->places, services_.finder->folders);
}

void MainDialog::OfferFoundFolders() {
    if (services_.finder == nullptr || !state_.NoFolderSet()) return;
    GameFindings findings;
    {
        const WaitCursor wait;
        findings = FindGames(services_.finder->places);
    }
    if (findings.Empty()) return;
    OptionsDialog dialog(state_.Paths(), services_.files, services_.messages, this);
    PrepareOptionsDialog(dialog);
    dialog.FillFromFindings(findings);
    dialog.AskBeforeDiscardingFound();
    if (services_.dialogs.Run(dialog) != QDialog::Accepted) return;
    SaveFolders();
}

void MainDialog::OnAddPackages() {
    if (services_.finder == nullptr) return;
    if (FindGame(state_.CurrentGame()) == nullptr) {
        AddPackages({});  // says why nothing can be added
        return;
    }
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
    if (game == nullptr) {
        Inform(kAddCaption, kChooseGameForAdd);
        return;
    }
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
    if (!report.message.empty())
        services_.messages.ShowWarning(ParentOf(this), kAddCaption, report.message);
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
    question.setWindowTitle(QString::fromUtf8(kAddCaption));
    question.setLabelText(QString::fromUtf8(kAskGameForAdd));
    QStringList names;
    for (int id = kCaesar3; id <= kEmperor; ++id) names << QString::fromUtf8(FindGame(id)->name);
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
    // Added once the drop has ended, so the program the files came from is not kept waiting
    // while a question or the refresh runs.
    QMetaObject::invokeMethod(
        this, [this, files = std::move(files)] { AddPackages(files); }, Qt::QueuedConnection);
}

}  // namespace wendmoor
