// "Start", "Help", the About command and "Backups...".
#include "app/AboutDialog.h"
#include "app/BackupsDialog.h"
#include "app/LaunchFollower.h"
#include "app/MainDialog.h"
#include "packages/Games.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolders.h"
#include "ui/ControlTexts.h"
#include "widgets/QtText.h"
#include "widgets/Seams.h"

namespace wendmoor {

void MainDialog::OnStart() {
    const std::optional<std::string> program = state_.GameProgram();
    // The game starts in its own folder.
    if (program) ShellOpen(*program, state_.GameFolder());
}

// The readme in the start folder wins; an installed program, started from anywhere, has its own
// in the install's data folder.
void MainDialog::OnHelpButton() {
    ShellOpen(kReadmeFile, FolderHoldingDataFile(kReadmeFile, startDirectory_, ExecutablePath()));
}

bool MainDialog::ShellOpen(const std::string& file, const std::string& directory) {
    return OpenAndFollow(services_.launcher, services_.messages, this, file, directory);
}

void MainDialog::OnAbout() {
    AboutDialog about(this);
    connect(&about, &AboutDialog::readmeRequested, this, &MainDialog::OnHelpButton);
    services_.dialogs.Run(about);  // its result does not matter here
}

void MainDialog::OnBackups() {
    const GameDescription* game = FindGame(state_.CurrentGame());
    if (game == nullptr) {
        Inform(kAppCaption, kChooseGameForBackups);
        return;
    }
    BackupsDialog dialog(
        game->name,
        SessionBackups(
            state_.Session(), [this] { waitNoticeShown_ = false; }, [this] { Mirror(); }),
        services_, this);
    services_.dialogs.Run(dialog);
}

}  // namespace wendmoor
