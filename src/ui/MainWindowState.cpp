#include "ui/MainWindowState.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "games/Games.h"
#include "platform/ProgramArguments.h"
#include "platform/ProgramFolders.h"
#include "platform/SettingsStore.h"
#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"

namespace wendmoor {

MainWindowState::MainWindowState(SettingsStore& settings, std::function<void()> askForFolders,
                                 PackageLock::KeepWaiting keepWaiting)
    : settings_(settings),
      session_(paths_, fileSystem_, std::move(askForFolders), std::move(keepWaiting)) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    // Paths are UTF-8 on Windows and the system's bytes elsewhere.
    const auto text = folder.u8string();
    if (!error) startFolder_.assign(text.begin(), text.end());
}

bool MainWindowState::LockNoticeDue(std::chrono::milliseconds waited) {
    if (lockNoticeShown_ || waited < std::chrono::milliseconds(700)) return false;
    lockNoticeShown_ = true;
    return true;
}

std::string MainWindowState::LoadSettings() {
    const std::vector<std::string> unusable = LoadGamePaths(paths_, settings_);
    return unusable.empty() ? std::string() : UnusableSettingsText(unusable);
}

std::string MainWindowState::SaveSettings() {
    const Outcome saved = SaveGamePaths(paths_, settings_);
    return saved.Ok() ? std::string() : UnsavedFoldersText(saved.Lines());
}

bool MainWindowState::NeedsFirstStartAbout() const {
    return paths_.emperor_path.empty() && paths_.pharao_path.empty() && paths_.zeus_path.empty();
}

bool MainWindowState::NoFolderSet() const {
    return std::none_of(
        std::begin(kGamePathFields), std::end(kGamePathFields),
        [this](const GamePathField& field) { return !(paths_.*field.member).empty(); });
}

void MainWindowState::SelectGame(int game) {
    lockNoticeShown_ = false;
    selectedList_.reset();
    selectedLine_.clear();
    session_.SelectGame(game);
}

void MainWindowState::SelectPackage(PackageList list, const std::optional<std::string>& line) {
    session_.ClearContent();
    selectedList_.reset();
    selectedLine_.clear();
    if (!line || session_.CurrentGame() == kNoGame) return;
    selectedList_ = list;
    selectedLine_ = *line;
    session_.ShowPackageContent(*line);
}

std::optional<std::string> MainWindowState::Selected(PackageList list) const {
    if (selectedList_ != list) return std::nullopt;
    return selectedLine_;
}

const std::vector<std::string>& MainWindowState::Lines(PackageList list) const {
    return list == PackageList::Installed ? session_.Lists().installed : session_.Lists().available;
}

std::vector<std::string> MainWindowState::ContentLines() const {
    const std::vector<std::string>& content = session_.Content();
    if (!content.empty()) return content;
    const GameDescription* game = FindGame(session_.CurrentGame());
    if (game == nullptr) return {};
    if (selectedList_) {
        const std::string archive = session_.ArchivePathOf(selectedLine_);
        if (!fileSystem_.FileExists(archive)) {
            return {"The file of this package is gone from the missions folder:", archive,
                    "Choose the game again to update the lists."};
        }
        return {};
    }
    const std::string& missions = paths_.*game->missions;
    if (!session_.ScanOutcome().Ok() || missions.empty() ||
        !Lines(PackageList::Installed).empty() || !Lines(PackageList::Available).empty()) {
        return {};
    }
    return {"No packages yet. Packages go to " + missions,
            "Drop ZIP files on this window, or right-click it and choose \"Add packages...\"."};
}

bool MainWindowState::CanInstall() const {
    return CommandFrom(PackageList::Available).has_value();
}

bool MainWindowState::CanDeinstall() const {
    return CommandFrom(PackageList::Installed).has_value();
}

std::optional<PackageCommand> MainWindowState::CommandFrom(PackageList source) const {
    if (commandRunning_ || session_.CurrentGame() == kNoGame) return std::nullopt;
    const std::optional<std::string> line = Selected(source);
    if (!line) return std::nullopt;
    return PackageCommand{*line, source};
}

std::string MainWindowState::QuestionBefore(const PackageCommand& command) const {
    if (!command.Install()) return {};
    const std::vector<std::string> users = session_.PackagesLosingSharedFiles(command.package);
    return users.empty() ? std::string() : SharedMapQuestionText(command.package, users);
}

void MainWindowState::BeginCommand() {
    commandRunning_ = true;
    selectedList_.reset();
    selectedLine_.clear();
    session_.ClearContent();
}

Outcome MainWindowState::RunCommand(const PackageCommand& command, CommandProgress* progress) {
    return session_.RunPackageCommand(command.package, command.Install(), progress);
}

std::string MainWindowState::FinishCommand(const PackageCommand& command, const Outcome& outcome,
                                           bool cancelled) {
    commandRunning_ = false;
    // Where the package went, if it moved; where it stayed otherwise.
    const PackageList moved = command.Install() ? PackageList::Installed : PackageList::Available;
    for (const PackageList list : {moved, command.source}) {
        const std::vector<std::string>& lines = Lines(list);
        if (std::find(lines.begin(), lines.end(), command.package) != lines.end()) {
            SelectPackage(list, command.package);
            break;
        }
    }
    return CommandReport(command.Install(), outcome, session_.Kept(), cancelled);
}

std::optional<std::string> MainWindowState::GameProgram() const {
    const GameDescription* game = FindGame(session_.CurrentGame());
    if (game == nullptr || (paths_.*game->gameFolder).empty()) return std::nullopt;
    return paths_.*game->gameFolder + game->programName;
}

std::string MainWindowState::GameFolder() const {
    const GameDescription* game = FindGame(session_.CurrentGame());
    return game == nullptr ? std::string() : paths_.*game->gameFolder;
}

std::pair<std::string, std::string> MainWindowState::Readme() const {
    return {kReadmeFile, FolderHoldingDataFile(kReadmeFile, startFolder_, ExecutablePath())};
}

std::optional<BackupsList> MainWindowState::Backups() {
    if (FindGame(session_.CurrentGame()) == nullptr) return std::nullopt;
    lockNoticeShown_ = false;
    PackageSession& session = session_;
    return BackupsList(
        [&session] {
            return ListBackups(session.BackupStoreFolder(), BackupGameKey(session.CurrentGame()));
        },
        [&session](const std::string& name, bool force) {
            return session.RestoreBackup(name, force);
        });
}

std::unique_ptr<SettingsStore> OpenProgramSettings() {
    // Read as the system gives it, so a name outside the ANSI code page arrives whole on Windows.
    const std::string file = EnvironmentVariable("WENDMOOR_SETTINGS");
    if (!file.empty()) return OpenIniSettingsStore(file);
    return OpenDefaultSettingsStore();
}

std::vector<std::string> GameChoiceNames() {
    std::vector<std::string> names;
    for (int id = kCaesar3; id <= kEmperor; ++id) names.push_back(FindGame(id)->name);
    return names;
}

}  // namespace wendmoor
