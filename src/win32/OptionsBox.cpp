#include "win32/OptionsBox.h"

#include "ui/ControlTexts.h"
#include "ui/DialogLayouts.h"
#include "ui/WindowTexts.h"
#include "win32/WaitCursor.h"
#include "win32/WideText.h"

namespace wendmoor {

namespace {

constexpr Growth kGrowsWide{0, 2, 0, 0};
constexpr Growth kMovesRight{2, 0, 0, 0};

void AddAt(DialogTemplate& made, const wchar_t* className, const std::string& text, int id,
           DWORD style, const UnitRect& rect, int top, DWORD extendedStyle = 0) {
    made.Add(className, text, id, style, rect.x, top + rect.y, rect.width, rect.height,
             extendedStyle);
}

}  // namespace

OptionsBox::OptionsBox(GamePaths& paths, Win32Services& services)
    : paths_(paths), services_(services) {}

OptionsBox::~OptionsBox() {
    if (noteFont_ != nullptr) DeleteObject(noteFont_);
}

DialogTemplate OptionsBox::MakeTemplate() const {
    DialogTemplate made(
        kOptionsTitle,
        DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        kOptionsWidth, kOptionsRowsHeight + kOptionsBarHeight);
    // Frames and notes first, so they lie beneath the fields; then the fields and their
    // buttons in the tab order, top to bottom.
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        const OptionsRow& row = kOptionsRows[i];
        AddAt(made, L"BUTTON", row.title, kFirstFrameId + static_cast<int>(i), BS_GROUPBOX,
              kOptionsRowBox, row.boxY);
        AddAt(made, L"STATIC", "", kFirstNoteId + static_cast<int>(i), SS_RIGHT | SS_NOPREFIX,
              kOptionsRowNote, row.boxY);
    }
    for (const OptionsRow& row : kOptionsRows) {
        // Read-only looks read-only: no frame of an input field.
        AddAt(made, L"EDIT", "", row.editId, ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
              kOptionsRowField, row.boxY);
        AddAt(made, L"BUTTON", "...", row.editId + 1, BS_PUSHBUTTON | WS_TABSTOP, kOptionsRowBrowse,
              row.boxY);
    }
    AddAt(made, L"BUTTON", kCancelButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP,
          kOptionsCancelButton, kOptionsRowsHeight);
    if (services_.finder != nullptr) {
        AddAt(made, L"BUTTON", kFindGamesButton, kFindGamesId, BS_PUSHBUTTON | WS_TABSTOP,
              kOptionsFindButton, kOptionsRowsHeight);
        AddAt(made, L"STATIC", "", kFindStatusId, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
              kOptionsFindStatus, kOptionsRowsHeight);
    }
    AddAt(made, L"BUTTON", kOkButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, kOptionsOkButton,
          kOptionsRowsHeight);
    return made;
}

bool OptionsBox::OnInit() {
    state_.emplace(paths_, services_.files, services_.messages, ParentOf(Handle()));
    if (services_.finder != nullptr) {
        state_->EnableFinder(services_.finder->places, services_.finder->folders);
    }
    // The notes in italics, as a remark beside the value.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    font.lfItalic = TRUE;
    noteFont_ = CreateFontIndirectW(&font);

    layout_.Start(Handle());
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        const int editId = kOptionsRows[i].editId;
        const int index = static_cast<int>(i);
        for (const int id : {kFirstFrameId + index, kFirstNoteId + index, editId}) {
            layout_.Add(Control(id), kGrowsWide);
        }
        layout_.Add(Control(editId + 1), kMovesRight);
        SendMessageW(Control(kFirstNoteId + index), WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_),
                     FALSE);
    }
    layout_.Add(Control(IDOK), kMovesRight);
    if (services_.finder != nullptr) layout_.Add(Control(kFindStatusId), kGrowsWide);
    if (findings_) state_->Fill(*findings_);
    UpdateFields();
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDOK)), TRUE);
    return true;
}

void OptionsBox::UpdateFields() {
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        SetWindowTextW(Control(kOptionsRows[i].editId), ShownText(state_->Value(i)).c_str());
        const std::string note = state_->RowNote(i);
        const HWND noteControl = Control(kFirstNoteId + static_cast<int>(i));
        SetWindowTextW(noteControl, ShownText(note).c_str());
        ShowWindow(noteControl, note.empty() ? SW_HIDE : SW_SHOW);
    }
    SetWindowTextW(Control(kFindStatusId), ShownText(state_->FindStatus()).c_str());
}

bool OptionsBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (message == WM_SIZE) {
        layout_.Arrange();
        return false;
    }
    if (message == WM_GETMINMAXINFO) {
        layout_.LimitSize(*reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    const int id = LOWORD(wParam);
    if (id == IDOK) {
        OnOk();
    } else if (id == IDCANCEL) {
        OnCancel();
    } else if (id == kFindGamesId) {
        {
            const WaitCursor wait;
            state_->FindGames();
        }
        UpdateFields();
    } else {
        for (std::size_t row = 0; row < kOptionsRowCount; ++row) {
            if (kOptionsRows[row].editId + 1 == id) state_->Browse(row);
        }
        UpdateFields();
    }
    return true;
}

void OptionsBox::OnOk() {
    const bool accepted = state_->Accept();
    UpdateFields();
    if (accepted) End(IDOK);
}

void OptionsBox::OnCancel() {
    if (askBeforeDiscarding_ && state_->HoldsFoundValues() &&
        !services_.messages.AskYesNo(ParentOf(Handle()), kFindGamesCaption,
                                     DiscardFoundQuestion(*state_))) {
        OnOk();
        return;
    }
    End(IDCANCEL);
}

}  // namespace wendmoor
