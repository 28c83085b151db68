#pragma once

#include "win32/DialogTemplate.h"
#include "win32/Win32Api.h"

namespace wendmoor {

// A dialog built from a DialogTemplate, with its messages handed to a member function. The
// template is asked for when the dialog is made, so it can depend on the dialog's state.
class DialogWindow {
  public:
    virtual ~DialogWindow();
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Modal over `owner`: answers the id the dialog ended with (IDOK, IDCANCEL, ...).
    INT_PTR RunModal(HWND owner);
    // Modeless; the caller runs the messages (IsDialogMessageW) and the window lives as long as
    // this object.
    HWND Create(HWND owner);

    HWND Handle() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }

  protected:
    virtual DialogTemplate MakeTemplate() const = 0;
    // WM_INITDIALOG, after Handle() is set. True when it set the focus itself; otherwise the
    // first control in the tab order takes it.
    virtual bool OnInit() { return false; }
    // Every other message; answers whether it was handled, and `result` then says what the
    // dialog procedure returns (DWLP_MSGRESULT is set from it).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Ends a modal dialog; destroys a modeless one's window.
    void End(INT_PTR id);

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool modal_ = false;
};

}  // namespace wendmoor
