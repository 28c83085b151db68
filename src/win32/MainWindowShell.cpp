// "Start", "Help", About and "Backups...", and adding packages from anywhere: "Add packages..."
// on the context menu, files dropped on the window and files given on the command line.
#include "finder/GameFinder.h"
#include "games/Games.h"
#include "platform/Path.h"
#include "platform/ProgramFolders.h"
#include "platform/windows/Utf16.h"
#include "ui/BackgroundTask.h"
#include "ui/ControlTexts.h"
#include "ui/WindowFlows.h"
#include "win32/AboutBox.h"
#include "win32/BackupsBox.h"
#include "win32/ChoiceDialog.h"
#include "win32/MainWindow.h"
#include "win32/OptionsBox.h"
#include "win32/WaitCursor.h"

namespace wendmoor {

void MainWindow::OnStart() {
    // The game starts in its own folder.
    if (const std::optional<std::string> program = state_.GameProgram()) {
        ShellOpen(*program, state_.GameFolder());
    }
}

// The readme in the start folder wins; an installed program, started from anywhere, has its own
// beside it.
void MainWindow::OnHelpButton() {
    const auto [file, folder] = state_.Readme();
    ShellOpen(file, folder);
}

bool MainWindow::ShellOpen(const std::string& file, const std::string& directory) {
    return OpenInShell(services_, Handle(), file, directory);
}

void MainWindow::OnAbout() {
    RunAboutBox(Handle(), [this] { OnHelpButton(); });  // how it ended does not matter here
}

void MainWindow::OnBackups() {
    if (const GameDescription* game = FindGame(state_.CurrentGame())) {
        const auto forgetNotice = [this] { waitNoticeShown_ = false; };
        BackupsBox(game->name, SessionBackups(state_.Session(), forgetNotice, [this] { Mirror(); }),
                   services_)
            .RunModal(Handle());
    } else {
        Inform(kAppCaption, kChooseGameForBackups);
    }
}

void MainWindow::OfferFoundFolders() {
    GameFindings findings;
    {
        const WaitCursor wait;
        findings = FirstStartFindings(state_, services_.finder);
    }
    if (findings.Empty()) return;
    OptionsBox options(state_.Paths(), services_);
    options.FillFromFindings(findings);
    options.AskBeforeDiscardingFound();
    if (options.RunModal(Handle()) == IDOK) SaveFolders();
}

void MainWindow::AddPackages(const std::vector<std::string>& files) {
    if (services_.finder == nullptr) return;
    if (DeferWhileBusy([this, files] { AddPackages(files); })) return;
    AddFilesToGame(state_, *this, services_.messages, services_.finder->sameName, files);
}

int MainWindow::AskForGame() {
    std::vector<std::string> names;
    for (int id = kCaesar3; id <= kEmperor; ++id) names.push_back(FindGame(id)->name);
    const std::optional<std::size_t> chosen =
        ChoiceDialog(kAddCaption, kAskGameForAdd, names).Ask(Handle());
    return chosen ? kCaesar3 + static_cast<int>(*chosen) : kNoGame;
}

void MainWindow::OnDroppedFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        if (!name.empty()) files.push_back(ToUtf8(name));
    }
    DragFinish(drop);
    if (files.empty()) return;
    // Added once the drop has ended, so the program the files came from is not kept waiting
    // while a question or the refresh runs.
    deferred_.push_back([this, files] { AddPackages(files); });
    PostMessageW(Handle(), WM_APP, 0, 0);
}

}  // namespace wendmoor
