#include "win32/OptionsBox.h"

#include <algorithm>

#include "ui/ControlTexts.h"
#include "ui/DialogTemplate.h"
#include "ui/WindowTexts.h"
#include "win32/WaitCursor.h"
#include "win32/WideText.h"

namespace wendmoor {

namespace {

Growth GrowthOf(const TemplateControl& control) {
    return {control.moveX, control.growX, control.moveY, control.growY};
}

// The window class and style of a row's or the bar's control.
void AddAt(DialogTemplate& made, const TemplateControl& control, int id, int top) {
    const wchar_t* className = L"BUTTON";
    DWORD style = WS_TABSTOP;
    switch (control.kind) {
        case TemplateKind::Group:
            style = BS_GROUPBOX;
            break;
        case TemplateKind::Note:
            className = L"STATIC";
            style = SS_RIGHT | SS_NOPREFIX;
            break;
        case TemplateKind::Label:
            className = L"STATIC";
            style = SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE;
            break;
        case TemplateKind::Field:
            // Read-only looks read-only: no frame of an input field.
            className = L"EDIT";
            style |= ES_READONLY | ES_AUTOHSCROLL;
            break;
        // BS_NOTIFY: a button that takes the focus says so, and the dialog scrolls to it.
        case TemplateKind::DefaultButton:
            style |= BS_DEFPUSHBUTTON | BS_NOTIFY;
            break;
        default:
            style |= BS_PUSHBUTTON | BS_NOTIFY;
            break;
    }
    made.Add(className, control.text, id, style, control.x, top + control.y, control.width,
             control.height);
}

}  // namespace

int OptionsBox::IdOf(const TemplateControl& control) {
    if (control.objectName == "cancelButton") return IDCANCEL;
    if (control.objectName == "okButton") return IDOK;
    if (control.objectName == "findGames") return kFindGamesId;
    if (control.objectName == "findStatus") return kFindStatusId;
    switch (control.kind) {
        case TemplateKind::Group:
            return kFirstFrameId + control.id;
        case TemplateKind::Note:
            return kFirstNoteId + control.id;
        case TemplateKind::Field:
            return kFirstFieldId + control.id;
        default:
            return kFirstBrowseId + control.id;
    }
}

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
    for (const TemplateControl& control : OptionsRowControls()) {
        AddAt(made, control, IdOf(control), 0);
    }
    for (const TemplateControl& control : OptionsBarControls(services_.finder != nullptr)) {
        AddAt(made, control, IdOf(control), kOptionsRowsHeight);
    }
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

    // Eleven rows do not fit a short screen at a large scaling: the dialog then scrolls.
    layout_.ScrollWhenShort();
    layout_.AfterArranging([this] { FitNotes(); });
    layout_.Start(Handle(), kOptionsWidth, kOptionsRowsHeight + kOptionsBarHeight);
    for (const TemplateControl& control : OptionsRowControls()) {
        layout_.Add(Control(IdOf(control)), GrowthOf(control));
    }
    for (const TemplateControl& control : OptionsBarControls(services_.finder != nullptr)) {
        layout_.Add(Control(IdOf(control)), GrowthOf(control));
    }
    for (int row = 0; row < static_cast<int>(kOptionsRowCount); ++row) {
        SendMessageW(Control(kFirstNoteId + row), WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_),
                     FALSE);
    }
    if (findings_) state_->Fill(*findings_);
    UpdateFields();
    layout_.FitToScreen();
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDOK)), TRUE);
    // The dialog opens at its first row although OK has the focus; it follows the focus from
    // the first message after it is shown (showing it gives OK the focus once more).
    PostMessageW(Handle(), kFollowFocus, 0, 0);
    return true;
}

void OptionsBox::FitNotes() const {
    // A note as wide as its text, at the right end of its place, so that the frame's top line
    // shows up to the text as it does up to the title.
    const HDC dc = GetDC(Handle());
    const HGDIOBJ before = SelectObject(dc, noteFont_);
    SIZE space{};
    GetTextExtentPoint32W(dc, L"  ", 2, &space);
    for (int row = 0; row < static_cast<int>(kOptionsRowCount); ++row) {
        const HWND note = Control(kFirstNoteId + row);
        const std::wstring text = ShownText(state_->RowNote(static_cast<std::size_t>(row)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT rect{};
        GetWindowRect(note, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        const int left = std::max<int>(rect.left, rect.right - size.cx - space.cx);
        SetWindowPos(note, nullptr, left, rect.top, rect.right - left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SelectObject(dc, before);
    ReleaseDC(Handle(), dc);
}

void OptionsBox::UpdateFields() {
    for (std::size_t i = 0; i < kOptionsRowCount; ++i) {
        SetWindowTextW(Control(kFirstFieldId + static_cast<int>(i)),
                       ShownText(state_->Value(i)).c_str());
        const std::string note = state_->RowNote(i);
        const HWND noteControl = Control(kFirstNoteId + static_cast<int>(i));
        SetWindowTextW(noteControl, ShownText(note).c_str());
        ShowWindow(noteControl, note.empty() ? SW_HIDE : SW_SHOW);
    }
    // A note's text changed: its place is the layout's again, fitted anew.
    layout_.Arrange();
    SetWindowTextW(Control(kFindStatusId), ShownText(state_->FindStatus()).c_str());
}

bool OptionsBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (const std::optional<bool> handled = layout_.Follow(message, wParam, lParam))
        return *handled;
    if (message == kFollowFocus) {
        followFocus_ = true;
        return true;
    }
    if (message == WM_COMMAND && (HIWORD(wParam) == BN_SETFOCUS || HIWORD(wParam) == EN_SETFOCUS)) {
        if (followFocus_) layout_.ShowControl(reinterpret_cast<HWND>(lParam));
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
        const int row = id - kFirstBrowseId;
        if (row >= 0 && row < static_cast<int>(kOptionsRowCount)) {
            state_->Browse(static_cast<std::size_t>(row));
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
