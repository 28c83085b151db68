// "Start", "Help" and the About command.
#include "app/AboutDialog.h"
#include "app/LaunchFollower.h"
#include "app/MainDialog.h"
#include "packages/Games.h"
#include "platform/Launcher.h"
#include "widgets/PathText.h"
#include "widgets/Seams.h"

namespace wendmoor {

namespace {

constexpr char kReadme[] = "qarn_readme.htm";

// The "Error" box: the reason, then the file and the folder on lines of their own, each
// wrapping at its separators; the starter's own words behind "Show Details...".
void ShowShellError(MessageBoxes& messages, QWidget* parent, const LaunchFailure& failure,
                    const std::string& file, const std::string& directory) {
    std::string reason = failure.reason;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    QString text = TextHtml(reason);
    if (!text.isEmpty()) text += QStringLiteral("<br>");
    text += QLatin1Char('\'') + PathHtml(file) + QStringLiteral("'<br>in '") + PathHtml(directory) +
            QLatin1Char('\'');
    messages.ShowInformationWithDetails(
        parent, QStringLiteral("Error"), text,
        QString::fromLocal8Bit(failure.details.data(),
                               static_cast<qsizetype>(failure.details.size())));
}

}  // namespace

void MainDialog::OnStart() {
    const GameDescription* game = FindGame(session_.CurrentGame());
    if (game == nullptr) return;
    const std::string& folder = paths_.*game->gameFolder;
    if (folder.empty()) return;
    // The game starts in its own folder; the folder ends with its separator.
    ShellOpen(folder + game->programName, folder);
}

void MainDialog::OnHelpButton() {
    ShellOpen(kReadme, startDirectory_);
}

bool MainDialog::ShellOpen(const std::string& file, const std::string& directory) {
    Launch launch = services_.launcher.Open(file, directory);
    if (launch.failure) {
        ShowShellError(services_.messages, this, *launch.failure, file, directory);
        return false;
    }
    if (launch.watch) {
        // A failure that shows only later gets the same box, whenever it comes.
        new LaunchFollower(
            std::move(launch.watch),
            [this, file, directory](const LaunchFailure& failure) {
                ShowShellError(services_.messages, this, failure, file, directory);
            },
            this);
    }
    return true;
}

void MainDialog::OnAbout() {
    AboutDialog about(this);
    connect(&about, &AboutDialog::readmeRequested, this, &MainDialog::OnHelpButton);
    services_.dialogs.Run(about);  // its result does not matter here
}

}  // namespace wendmoor
