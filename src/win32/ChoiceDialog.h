#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win32/DialogWindow.h"

namespace wendmoor {

// A question above a list of choices, with OK and Cancel: one of the folders found for an
// options row, the game that files from the command line go to. A double-click or Enter on a
// line takes it.
class ChoiceDialog final : public DialogWindow {
  public:
    ChoiceDialog(std::string caption, std::string question, std::vector<std::string> lines);

    // The index of the chosen line; nothing when the player cancelled.
    std::optional<std::size_t> Ask(HWND owner);

    static constexpr int kListId = 100;

  protected:
    DialogTemplate MakeTemplate() const override;
    bool OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    std::string caption_;
    std::string question_;
    std::vector<std::string> lines_;
    std::optional<std::size_t> chosen_;
};

}  // namespace wendmoor
