// Finding the games at a first start, and adding packages from anywhere: "Add packages..." on
// the window's context menu, files dropped on the window and files given on the command line.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QInputDialog>
#include <QMimeData>
#include <QStringList>
#include <QUrl>

#include "app/MainDialog.h"
#include "finder/GameFinder.h"
#include "packages/Games.h"
#include "packages/PackageAdder.h"
#include "settings/dialog/OptionsDialog.h"
#include "widgets/FinderSeams.h"
#include "widgets/Seams.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

const QString kAddCaption = QStringLiteral("Add packages");

QString Display(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

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

bool NoFolderSet(const GamePaths& paths) {
    for (const GamePathField& field : kGamePathFields) {
        if (!(paths.*field.member).empty()) return false;
    }
    return true;
}

}  // namespace

void MainDialog::BuildFinderControls() {
    if (services_.finder == nullptr) return;
    addPackagesAction_ = new QAction(QStringLiteral("&Add packages..."), this);
    connect(addPackagesAction_, &QAction::triggered, this, &MainDialog::OnAddPackages);
    insertAction(aboutAction_, addPackagesAction_);
    setAcceptDrops(true);
}

void MainDialog::PrepareOptionsDialog(OptionsDialog& dialog) {
    if (services_.finder == nullptr) return;
    dialog.EnableFinder(services_.finder->places, services_.finder->folders);
}

void MainDialog::OfferFoundFolders() {
    if (services_.finder == nullptr || !NoFolderSet(paths_)) return;
    GameFindings findings;
    {
        const WaitCursor wait;
        findings = FindGames(services_.finder->places);
    }
    if (findings.Empty()) return;
    OptionsDialog dialog(paths_, services_.files, services_.messages, this);
    PrepareOptionsDialog(dialog);
    dialog.FillFromFindings(findings);
    if (services_.dialogs.Run(dialog) != QDialog::Accepted) return;
    SaveFolders();
}

void MainDialog::OnAddPackages() {
    if (services_.finder == nullptr) return;
    if (FindGame(session_.CurrentGame()) == nullptr) {
        AddPackages({});  // says why nothing can be added
        return;
    }
    const std::vector<std::string> files = services_.finder->packageFiles.ChoosePackageFiles(this);
    if (!files.empty()) AddPackages(files);
}

void MainDialog::AddPackages(const std::vector<std::string>& files) {
    if (services_.finder == nullptr) return;
    const GameDescription* game = FindGame(session_.CurrentGame());
    if (game == nullptr) {
        services_.messages.ShowInformation(
            this, kAddCaption,
            QStringLiteral("Choose a game first: packages are added to its missions folder."));
        return;
    }
    QStringList notAdded;
    bool added = false;
    for (const std::string& file : files) {
        const AddResult result =
            AddPackageFile(fileSystem_, *game, paths_, file,
                           [this](const std::string& existing, const std::string& kept) {
                               return services_.finder->sameName.AskKeepBoth(this, existing, kept);
                           });
        added = added || result.done == AddResult::Done::Copied;
        for (const std::string& line : result.outcome.Lines()) notAdded << Display(line);
    }
    if (added) SelectGame(game->id);
    if (!notAdded.isEmpty()) {
        services_.messages.ShowInformation(
            this, kAddCaption, QStringLiteral("Not added:\n") + notAdded.join(QLatin1Char('\n')));
    }
}

void MainDialog::AddFilesFromCommandLine(const std::vector<std::string>& files) {
    if (files.empty() || services_.finder == nullptr) return;
    if (FindGame(session_.CurrentGame()) == nullptr) {
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
    question.setLabelText(QStringLiteral("Add the packages to the missions folder of:"));
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
