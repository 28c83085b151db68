#include "win32/BackupsBox.h"

#include "platform/Launcher.h"
#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "win32/WaitCursor.h"
#include "win32/WideText.h"

namespace wendmoor {

namespace {

// Dialog units: about 120 characters by 22 lines.
constexpr int kWidth = 440;
constexpr int kHeight = 180;
constexpr int kListTop = 18;

}  // namespace

bool OpenInShell(Win32Services& services, HWND owner, const std::string& file,
                 const std::string& directory) {
    // The shell decides at once on Windows: there is no start to follow afterwards.
    const Launch launch = services.launcher.Open(file, directory);
    if (!launch.failure) return true;
    services.messages.ShowInformation(ParentOf(owner), kErrorCaption,
                                      ShellErrorText(*launch.failure, file, directory),
                                      launch.failure->details);
    return false;
}

BackupsBox::BackupsBox(const std::string& gameName, BackupsList backups, Win32Services& services)
    : caption_(BackupsCaption(gameName)), backups_(std::move(backups)), services_(services) {}

DialogTemplate BackupsBox::MakeTemplate() const {
    DialogTemplate made(
        caption_, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        kWidth, kHeight);
    made.Add(L"STATIC", kBackupsIntro, -1, SS_LEFT | SS_NOPREFIX, 7, 5, kWidth - 14, 10);
    made.Add(WC_LISTVIEWW, BackupsList::kAccessibleName, kListId,
             LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, 7, kListTop, kWidth - 14,
             kHeight - kListTop - 28, WS_EX_CLIENTEDGE);
    const int buttonsY = kHeight - 7 - 14;
    made.Add(L"BUTTON", kRestoreButton, kRestoreId, BS_PUSHBUTTON | WS_TABSTOP, 7, buttonsY, 55,
             14);
    made.Add(L"BUTTON", kOpenFolderButton, kOpenFolderId, BS_PUSHBUTTON | WS_TABSTOP, 66, buttonsY,
             55, 14);
    made.Add(L"BUTTON", kCloseButton, IDCANCEL, BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 7 - 50,
             buttonsY, 50, 14);
    return made;
}

bool BackupsBox::OnInit() {
    const HWND list = Control(kListId);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (std::size_t column = 0; column < BackupsList::kColumns.size(); ++column) {
        std::wstring title = ShownText(BackupsList::kColumns[column]);
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_FMT;
        // The counts and sizes stand right-aligned.
        header.fmt = column >= 4 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        header.pszText = title.data();
        ListView_InsertColumn(list, static_cast<int>(column), &header);
    }
    layout_.Start(Handle(), kWidth, kHeight);
    layout_.Add(list, {0, 2, 0, 2});
    layout_.Add(Control(kRestoreId), {0, 0, 2, 0});
    layout_.Add(Control(kOpenFolderId), {0, 0, 2, 0});
    layout_.Add(Control(IDCANCEL), {2, 0, 2, 0});
    layout_.FitToScreen();
    Reload();
    return false;
}

void BackupsBox::Reload() {
    const HWND list = Control(kListId);
    ListView_DeleteAllItems(list);
    for (std::size_t row = 0; row < backups_.Count(); ++row) {
        const auto texts = backups_.RowTexts(row);
        for (std::size_t column = 0; column < texts.size(); ++column) {
            std::wstring text = ShownText(texts[column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            if (column == 0) {
                ListView_InsertItem(list, &item);
            } else {
                ListView_SetItem(list, &item);
            }
        }
    }
    // Each column as wide as its widest text or its title, whichever is wider (the list's own
    // measure of a title falls short at a large scaling); the last one fills the rest.
    const int columns = static_cast<int>(BackupsList::kColumns.size());
    const int padding = ListView_GetStringWidth(list, L"MM");
    for (int column = 0; column < columns - 1; ++column) {
        const std::wstring title =
            ShownText(BackupsList::kColumns[static_cast<std::size_t>(column)]);
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
        const int titleWidth = ListView_GetStringWidth(list, title.c_str()) + padding;
        if (ListView_GetColumnWidth(list, column) < titleWidth) {
            ListView_SetColumnWidth(list, column, titleWidth);
        }
    }
    ListView_SetColumnWidth(list, columns - 1, LVSCW_AUTOSIZE_USEHEADER);
    if (backups_.Count() > 0) Select(0);
    UpdateButtons();
}

void BackupsBox::Select(std::size_t row) {
    const HWND list = Control(kListId);
    ListView_SetItemState(list, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, static_cast<int>(row), FALSE);
}

std::size_t BackupsBox::SelectedRow() const {
    const int row = ListView_GetNextItem(Control(kListId), -1, LVNI_SELECTED);
    return row < 0 ? backups_.Count() : static_cast<std::size_t>(row);
}

void BackupsBox::UpdateButtons() {
    const bool selected = SelectedRow() < backups_.Count();
    EnableWindow(Control(kRestoreId), selected);
    EnableWindow(Control(kOpenFolderId), selected);
}

bool BackupsBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (const std::optional<bool> handled = layout_.Follow(message, wParam, lParam))
        return *handled;
    switch (message) {
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED) UpdateButtons();
            return false;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kRestoreId:
                    OnRestore();
                    return true;
                case kOpenFolderId:
                    OnOpenFolder();
                    return true;
                case IDOK:
                case IDCANCEL:
                    End(IDOK);
                    return true;
                default:
                    return false;
            }
        default:
            return false;
    }
}

void BackupsBox::OnRestore() {
    const std::size_t row = SelectedRow();
    if (row >= backups_.Count()) return;
    const std::string name = backups_.At(row).name;
    const WaitCursor wait;
    const std::string report = backups_.Restore(row, services_.messages, ParentOf(Handle()));
    Reload();
    // The restored backup stays selected; a forced restore adds a backup of its own.
    if (const std::size_t again = backups_.RowOf(name); again < backups_.Count()) Select(again);
    if (report.empty()) return;
    services_.messages.ShowInformation(ParentOf(Handle()), kAppCaption, report, {});
}

void BackupsBox::OnOpenFolder() {
    const std::size_t row = SelectedRow();
    if (row >= backups_.Count()) return;
    const std::string folder = backups_.At(row).folder;
    OpenInShell(services_, Handle(), folder, folder);
}

}  // namespace wendmoor
