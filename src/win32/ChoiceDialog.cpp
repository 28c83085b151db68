#include "win32/ChoiceDialog.h"

#include <algorithm>

#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "win32/WideText.h"
#include "win32/Win32Seams.h"

namespace wendmoor {

namespace {

// Dialog units: wide enough for a long path, as far as a small screen allows.
constexpr int kWidth = 320;
constexpr int kQuestionHeight = 20;
constexpr int kLineHeight = 9;
constexpr int kMostLinesShown = 8;

}  // namespace

ChoiceDialog::ChoiceDialog(std::string caption, std::string question,
                           std::vector<std::string> lines)
    : caption_(std::move(caption)), question_(std::move(question)), lines_(std::move(lines)) {}

std::optional<std::size_t> ChoiceDialog::Ask(HWND owner) {
    chosen_.reset();
    return RunModal(owner) == IDOK ? chosen_ : std::nullopt;
}

DialogTemplate ChoiceDialog::MakeTemplate() const {
    const int shown = static_cast<int>(std::clamp<std::size_t>(lines_.size(), 2, kMostLinesShown));
    const int listHeight = shown * kLineHeight + 4;
    const int height = 7 + kQuestionHeight + 4 + listHeight + 7 + 14 + 7;
    DialogTemplate made(caption_, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        kWidth, height);
    made.Add(L"STATIC", question_, -1, SS_LEFT | SS_NOPREFIX, 7, 7, kWidth - 14, kQuestionHeight);
    made.Add(L"LISTBOX", "", kListId,
             WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
             7, 7 + kQuestionHeight + 4, kWidth - 14, listHeight);
    const int buttonsY = height - 7 - 14;
    made.Add(L"BUTTON", kOkButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 7 - 50 - 4 - 50,
             buttonsY, 50, 14);
    made.Add(L"BUTTON", kCancelButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, kWidth - 7 - 50,
             buttonsY, 50, 14);
    return made;
}

bool ChoiceDialog::OnInit() {
    const HWND list = Control(kListId);
    for (const std::string& line : lines_) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ShownText(line).c_str()));
    }
    // Long lines scroll sideways rather than being cut off.
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 2000, 0);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    if (GetParent(Handle()) == nullptr || !IsWindowVisible(GetParent(Handle()))) {
        // At a first start the window is not shown yet: stand where the user looks.
        SendMessageW(Handle(), DM_REPOSITION, 0, 0);
    }
    return false;
}

bool ChoiceDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message != WM_COMMAND) return false;
    const int id = LOWORD(wParam);
    const bool doubleClicked = id == kListId && HIWORD(wParam) == LBN_DBLCLK;
    if (id == IDOK || doubleClicked) {
        const LRESULT row = SendMessageW(Control(kListId), LB_GETCURSEL, 0, 0);
        if (row == LB_ERR) return true;
        chosen_ = static_cast<std::size_t>(row);
        End(IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        End(IDCANCEL);
        return true;
    }
    return false;
}

std::optional<std::size_t> Win32FolderPicker::PickFolder(ParentWindow parent,
                                                         const std::string& question,
                                                         const std::vector<std::string>& lines) {
    return ChoiceDialog(kFindGamesCaption, question, lines).Ask(WindowOf(parent));
}

}  // namespace wendmoor
