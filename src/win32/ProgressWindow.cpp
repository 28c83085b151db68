#include "win32/ProgressWindow.h"

#include "ui/ControlTexts.h"
#include "ui/MainWindowTemplate.h"
#include "win32/WideText.h"

namespace wendmoor {

namespace {

// Dialog units: three lines of about sixty characters, the bar, the button.
constexpr int kWidth = 250;
constexpr int kTextHeight = 30;
constexpr int kHeight = 7 + kTextHeight + 4 + 10 + 7 + 14 + 7;

}  // namespace

ProgressWindow::ProgressWindow(std::function<void()> onCancel, HWND owner)
    : onCancel_(std::move(onCancel)) {
    Create(owner);
}

DialogTemplate ProgressWindow::MakeTemplate() const {
    // No close box: only Cancel stops, and only a command that can.
    DialogTemplate made(kMainWindowTitle, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION, kWidth,
                        kHeight);
    made.Add(L"STATIC", "", kTextId, SS_LEFT | SS_NOPREFIX, 7, 7, kWidth - 14, kTextHeight);
    made.Add(PROGRESS_CLASSW, kProgressName, kBarId, 0, 7, 7 + kTextHeight + 4, kWidth - 14, 10);
    if (onCancel_) {
        made.Add(L"BUTTON", kCancelButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, kWidth - 7 - 50,
                 kHeight - 7 - 14, 50, 14);
    }
    return made;
}

bool ProgressWindow::OnInit() {
    SendMessageW(Control(kBarId), PBM_SETRANGE32, 0, 1000);
    return false;
}

void ProgressWindow::Show(const std::string& text, int permille) {
    // Set only when it changed, so the text does not flicker at each poll.
    if (text != shown_) {
        shown_ = text;
        SetWindowTextW(Control(kTextId), ShownText(text).c_str());
    }
    SendMessageW(Control(kBarId), PBM_SETPOS, static_cast<WPARAM>(permille), 0);
    if (!Visible()) ShowWindow(Handle(), SW_SHOW);
}

bool ProgressWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return false;
    // Escape arrives here too; without a Cancel button nothing stops.
    if (!onCancel_) return true;
    onCancel_();
    EnableWindow(Control(IDCANCEL), FALSE);
    return true;
}

}  // namespace wendmoor
