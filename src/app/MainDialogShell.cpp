// "Start", "Help" and the About command.
#include "app/AboutDialog.h"
#include "app/MainDialog.h"
#include "app/Seams.h"
#include "packages/Games.h"
#include "platform/Launcher.h"

namespace wendmoor {

namespace {

constexpr char kReadme[] = "qarn_readme.htm";

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
    const std::optional<std::string> reason = services_.launcher.Open(file, directory);
    if (!reason) return true;
    const std::string text = ComposeShellError(*reason, file, directory);
    services_.messages.ShowInformation(
        this, QStringLiteral("Error"),
        QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    return false;
}

void MainDialog::OnAbout() {
    AboutDialog about(this);
    services_.dialogs.Run(about);  // its result does not matter here
}

}  // namespace wendmoor
