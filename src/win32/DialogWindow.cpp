#include "win32/DialogWindow.h"

namespace wendmoor {

DialogWindow::~DialogWindow() {
    if (window_ == nullptr || modal_) return;
    // The derived part is gone by now: the messages of the window's end must not reach it.
    SetWindowLongPtrW(window_, DWLP_USER, 0);
    DestroyWindow(window_);
}

INT_PTR DialogWindow::RunModal(HWND owner) {
    modal_ = true;
    const DialogTemplate made = MakeTemplate();
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), made.Get(), owner,
                                &DialogWindow::Procedure, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

HWND DialogWindow::Create(HWND owner) {
    modal_ = false;
    const DialogTemplate made = MakeTemplate();
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), made.Get(), owner,
                                      &DialogWindow::Procedure, reinterpret_cast<LPARAM>(this));
}

void DialogWindow::End(INT_PTR id) {
    if (modal_) {
        EndDialog(window_, id);
    } else {
        DestroyWindow(window_);
    }
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        return self->OnInit() ? FALSE : TRUE;
    }
    self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        return FALSE;
    }
    LRESULT result = 0;
    if (!self->OnMessage(message, wParam, lParam, result)) return FALSE;
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace wendmoor
