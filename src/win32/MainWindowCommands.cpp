// The commands on one package of the selected game, run off the window's thread.
#include "ui/BackgroundTask.h"
#include "win32/MainWindow.h"
#include "win32/ProgressWindow.h"

namespace wendmoor {

void MainWindow::RunPackageCommand(PackageList source) {
    // Clicks that arrive while a command and its refresh run are no new command.
    if (!busy_) RunListCommand(state_, *this, services_.messages, source, waitingForLock_);
}

void MainWindow::FocusList(PackageList list) {
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ListOf(list)), TRUE);
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
