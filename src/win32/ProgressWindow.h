#pragma once

#include <functional>
#include <string>

#include "win32/DialogWindow.h"

namespace wendmoor {

// What a command does while it runs: its lines and a bar, and Cancel when it can stop. A
// window of its own, so it stays usable while the main window is disabled; made hidden, shown
// by the first Show().
class ProgressWindow final : public DialogWindow {
  public:
    static constexpr int kTextId = 100;
    static constexpr int kBarId = 101;

    ProgressWindow(std::function<void()> onCancel, HWND owner);

    void Show(const std::string& text, int permille);
    bool Visible() const { return IsWindowVisible(Handle()) != FALSE; }

  protected:
    DialogTemplate MakeTemplate() const override;
    bool OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    std::function<void()> onCancel_;
    std::string shown_;
};

}  // namespace wendmoor
