#include "ui/WindowFlows.h"

#include "games/Games.h"
#include "platform/Path.h"
#include "ui/BackgroundTask.h"
#include "ui/CommandRun.h"
#include "ui/FinderSeams.h"
#include "ui/PackageAdding.h"

namespace wendmoor {

void RunListCommand(MainWindowState& state, MainWindowView& view, MessageBoxes& messages,
                    PackageList source, std::atomic<bool>& waitingForLock) {
    const std::optional<PackageCommand> command = state.CommandFrom(source);
    if (!command) return;  // nothing at all changes
    if (const std::string question = state.QuestionBefore(*command);
        !question.empty() && !messages.AskYesNo(view.WindowParent(), kSharedMapCaption, question)) {
        return;
    }
    CommandRun run(state, *command);
    view.Mirror();
    waitingForLock = false;
    view.RunInBackground([&](BackgroundTask&) { run.Work(); },
                         [&] { return run.Progress(waitingForLock); }, run.Canceller());
    const std::string report = run.Finish();
    view.Mirror();
    // The package is selected in the list it moved to, so Enter in the list the command came
    // from does not reach the default button.
    view.FocusList(source);
    if (report.empty()) return;
    if (run.Ok()) {
        messages.ShowInformation(view.WindowParent(), kAppCaption, report, {});
    } else {
        messages.ShowWarning(view.WindowParent(), kAppCaption, report);
    }
}

void AddFilesToGame(MainWindowState& state, MainWindowView& view, MessageBoxes& messages,
                    SameNameQuestion& sameName, const std::vector<std::string>& files) {
    const GameDescription* game = FindGame(state.CurrentGame());
    if (game == nullptr) {
        messages.ShowInformation(view.WindowParent(), kAddCaption, kChooseGameForAdd, {});
        return;
    }
    AddingRun adding(state, *game, files, sameName, view.WindowParent());
    view.RunInBackground([&](BackgroundTask& task) { adding.Work(task); },
                         [&] { return adding.Progress(); }, {});
    const AddReport& report = adding.Report();
    if (report.added) view.SelectGame(game->id);
    if (!report.message.empty()) {
        messages.ShowWarning(view.WindowParent(), kAddCaption, report.message);
    }
}

void ChooseAndAddFiles(const MainWindowState& state, MainWindowView& view,
                       PackageFileChooser& chooser, std::string& lastFolder) {
    if (FindGame(state.CurrentGame()) == nullptr) {
        view.AddPackages({});  // says why nothing can be added
        return;
    }
    const std::vector<std::string> files =
        chooser.ChoosePackageFiles(view.WindowParent(), lastFolder);
    if (files.empty()) return;
    lastFolder = FolderOf(files.front());
    view.AddPackages(files);
}

void AddCommandLineFiles(const MainWindowState& state, MainWindowView& view,
                         const std::vector<std::string>& files) {
    if (files.empty()) return;
    if (FindGame(state.CurrentGame()) == nullptr) {
        const int game = view.AskForGame();
        if (game == kNoGame) return;
        view.SelectGame(game);
    }
    view.AddPackages(files);
}

GameFindings FirstStartFindings(const MainWindowState& state, const FinderServices* finder) {
    if (finder == nullptr || !state.NoFolderSet()) return {};
    return FindGames(finder->places);
}

}  // namespace wendmoor
