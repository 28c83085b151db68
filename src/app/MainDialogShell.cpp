// "Start", "Help" and the About command.
#include <filesystem>

#include "app/AboutDialog.h"
#include "app/LaunchFollower.h"
#include "app/MainDialog.h"
#include "packages/Games.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolders.h"
#include "widgets/Seams.h"

namespace wendmoor {

namespace {

constexpr char kReadme[] = "qarn_readme.htm";

// The current folder as the system spells it (bytes); empty when it cannot be read.
std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
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

// The readme in the start folder wins; an installed program, started from anywhere, has its own
// in the install's data folder.
void MainDialog::OnHelpButton() {
    ShellOpen(kReadme, FolderHoldingDataFile(kReadme, CurrentFolder(), ExecutablePath()));
}

bool MainDialog::ShellOpen(const std::string& file, const std::string& directory) {
    return OpenAndFollow(services_.launcher, services_.messages, this, file, directory);
}

void MainDialog::OnAbout() {
    AboutDialog about(this);
    connect(&about, &AboutDialog::readmeRequested, this, &MainDialog::OnHelpButton);
    services_.dialogs.Run(about);  // its result does not matter here
}

}  // namespace wendmoor
