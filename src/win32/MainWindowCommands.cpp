// The commands on one package of the selected game, run off the window's thread.
#include "packages/CommandProgress.h"
#include "ui/BackgroundTask.h"
#include "win32/MainWindow.h"
#include "win32/ProgressWindow.h"

namespace wendmoor {

void MainWindow::RunPackageCommand(PackageList source) {
    // Clicks that arrive while a command and its refresh run are no new command.
    if (busy_) return;
    const std::optional<PackageCommand> command = state_.CommandFrom(source);
    if (!command) return;
    if (const std::string question = state_.QuestionBefore(*command);
        !question.empty() &&
        !services_.messages.AskYesNo(ParentOf(Handle()), kSharedMapCaption, question)) {
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
            if (progress.CancelRequested()) {
                return ProgressView{CancellingText(command->package), 0};
            }
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
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ListOf(source)), TRUE);
    if (report.empty()) return;
    if (outcome.Ok()) {
        Inform(kAppCaption, report);
    } else {
        services_.messages.ShowWarning(ParentOf(Handle()), kAppCaption, report);
    }
}

void MainWindow::RunInBackground(const std::function<void(BackgroundTask&)>& work,
                                 const std::function<ProgressView()>& describe,
                                 const std::function<void()>& cancel) {
    SetBusy(true);
    EnableWindow(Handle(), FALSE);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    {
        ProgressWindow progress(cancel, Handle());
        BackgroundTask task(work);
        const auto started = std::chrono::steady_clock::now();
        for (;;) {
            if (task.ServeQuestion()) continue;
            if (task.Finished()) break;
            if (progress.Visible() ||
                std::chrono::steady_clock::now() - started >= kProgressDelay) {
                const ProgressView view = describe();
                progress.Show(view.text, view.permille);
            }
            // Paints and answers the progress window; the main window is disabled and defers
            // what arrives for it.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(message.wParam));
                    break;
                }
                if (IsDialogMessageW(progress.Handle(), &message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    EnableWindow(Handle(), TRUE);
    SetBusy(false);
}

}  // namespace wendmoor
