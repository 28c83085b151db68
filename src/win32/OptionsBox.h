#pragma once

#include <array>
#include <optional>

#include "finder/GameFinder.h"
#include "ui/DialogTemplate.h"
#include "ui/OptionsState.h"
#include "win32/DialogWindow.h"
#include "win32/GrowingLayout.h"
#include "win32/Win32Seams.h"

namespace wendmoor {

// "QARN Options Dialog" on Windows: the view of OptionsState, built from the window layer's
// rows and layout. OK copies the working folders back; Cancel, Escape and the close box leave
// them untouched. The caller saves and refreshes. With the finder in `services` it has "Find
// games" and each row's note.
class OptionsBox final : public DialogWindow {
  public:
    static constexpr int kFindGamesId = 1100;
    static constexpr int kFindStatusId = 1101;
    static constexpr int kFirstNoteId = 1200;
    static constexpr int kFirstFrameId = 1300;
    static constexpr int kFirstFieldId = 1400;
    static constexpr int kFirstBrowseId = 1500;
    // The id of a control of the rows' or the bar's table.
    static int IdOf(const TemplateControl& control);

    OptionsBox(GamePaths& paths, Win32Services& services);
    ~OptionsBox() override;

    // Before the dialog runs: the rows these findings fill when it opens.
    void FillFromFindings(const GameFindings& findings) { findings_ = findings; }
    // At a first start, Cancel asks before it discards the folders the finder filled in.
    void AskBeforeDiscardingFound() { askBeforeDiscarding_ = true; }

  protected:
    DialogTemplate MakeTemplate() const override;
    bool OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    static constexpr UINT kFollowFocus = WM_APP + 1;

    void UpdateFields();
    void FitNotes() const;
    void OnOk();
    void OnCancel();

    GamePaths& paths_;
    Win32Services& services_;
    std::optional<OptionsState> state_;
    std::optional<GameFindings> findings_;
    bool askBeforeDiscarding_ = false;
    bool followFocus_ = false;
    GrowingLayout layout_;
    HFONT noteFont_ = nullptr;
};

}  // namespace wendmoor
