#include "win32/MainWindow.h"

#include <cctype>
#include <string_view>
#include <utility>

#include "games/Games.h"
#include "platform/windows/Utf16.h"
#include "ui/BackgroundTask.h"
#include "ui/MainWindowTemplate.h"
#include "win32/AboutBox.h"
#include "win32/OptionsBox.h"
#include "win32/WaitCursor.h"
#include "win32/WideText.h"

namespace wendmoor {

namespace {

// The window class and style of each kind of the template's controls.
void AddControl(DialogTemplate& made, const TemplateControl& control, int id) {
    const wchar_t* className = L"BUTTON";
    DWORD style = WS_TABSTOP;
    DWORD extendedStyle = 0;
    switch (control.kind) {
        case TemplateControl::Kind::Group:
            style = BS_GROUPBOX;
            break;
        case TemplateControl::Kind::DefaultButton:
            style |= BS_DEFPUSHBUTTON | BS_MULTILINE;
            break;
        case TemplateControl::Kind::Button:
            style |= BS_PUSHBUTTON | BS_MULTILINE;
            break;
        case TemplateControl::Kind::GameChoice:
            style |= BS_RADIOBUTTON;
            break;
        case TemplateControl::Kind::List:
            className = L"LISTBOX";
            style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
            extendedStyle = WS_EX_CLIENTEDGE;
            break;
        default:
            // The main window holds frames, buttons, game choices and lists only.
            break;
    }
    made.Add(className, control.text, id, style, control.x, control.y, control.width,
             control.height, extendedStyle);
}

// The letter after "&" in a text, lower case; 0 when it has none.
wchar_t Mnemonic(const std::string& text) {
    const std::size_t mark = text.find('&');
    if (mark == std::string::npos || mark + 1 == text.size()) return 0;
    return static_cast<wchar_t>(std::tolower(static_cast<unsigned char>(text[mark + 1])));
}

// A context menu command's text with its shortcut beside it, as a menu shows one.
std::wstring MenuText(const WindowCommand& command) {
    return ShownText(std::string(command.text) + "\t" + command.shortcut);
}

// The letter of a "Ctrl+X" shortcut as the virtual key it is typed with.
WPARAM ShortcutKey(const WindowCommand& command) {
    const std::string_view shortcut = command.shortcut;
    return static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(shortcut.back())));
}

UnitRect RectOf(const TemplateControl& control) {
    return {control.x, control.y, control.width, control.height};
}

}  // namespace

int MainWindow::IdOf(const std::string& objectName) {
    for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
        if (kMainWindowControls[i].objectName == objectName) {
            return kFirstControlId + static_cast<int>(i);
        }
    }
    return -1;
}

MainWindow::MainWindow(SettingsStore& settings, Win32Services& services)
    : services_(services),
      state_(
          settings, [this] { OnOptions(); },
          [this](std::chrono::milliseconds waited) { return KeepWaitingForLock(waited); }) {}

MainWindow::~MainWindow() = default;

DialogTemplate MainWindow::MakeTemplate() const {
    DialogTemplate made(
        kMainWindowTitle,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
            DS_CENTER,
        kMainWindowWidth, kMainWindowHeight,
        services_.finder != nullptr ? WS_EX_ACCEPTFILES | WS_EX_APPWINDOW : WS_EX_APPWINDOW);
    for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
        AddControl(made, kMainWindowControls[i], kFirstControlId + static_cast<int>(i));
    }
    return made;
}

bool MainWindow::OnInit() {
    layout_.Start(Handle(), kMainWindowWidth, kMainWindowHeight);
    for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
        const TemplateControl& control = kMainWindowControls[i];
        layout_.Add(Control(kFirstControlId + static_cast<int>(i)),
                    {control.moveX, control.growX, control.moveY, control.growY});
    }
    layout_.FitToScreen();
    icons_.Apply(Handle());
    SendMessageW(Handle(), DM_SETDEFID, IdOf("byeButton"), 0);
    // A Windows window has its About item in the system menu.
    const HMENU system = GetSystemMenu(Handle(), FALSE);
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system, MF_STRING, kAboutMenu, ShownText(kAboutCommand.text).c_str());
    Mirror();
    return false;
}

bool MainWindow::InitDialog() {
    if (Handle() == nullptr && Create(nullptr) == nullptr) return false;
    if (const std::string unusable = state_.LoadSettings(); !unusable.empty()) {
        services_.messages.ShowWarning(ParentOf(Handle()), kAppCaption, unusable);
    }
    Mirror();
    if (!state_.NeedsFirstStartAbout()) return true;
    if (!RunAboutBox(Handle(), [this] { OnHelpButton(); })) return false;
    OfferFoundFolders();
    return true;
}

void MainWindow::Run(const std::vector<std::string>& packages) {
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    // Files the program was started with are added as a drop is.
    if (services_.finder != nullptr) AddCommandLineFiles(state_, *this, packages);
    MSG message;
    while (!closed_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool MainWindow::PreTranslate(MSG& message) {
    const HWND window = Handle();
    if (window == nullptr || (message.hwnd != window && !IsChild(window, message.hwnd))) {
        return false;
    }
    // The context menu's commands have their shortcuts (Ctrl and a letter) anywhere in the window.
    if (message.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
        (GetKeyState(VK_MENU) & 0x8000) == 0) {
        for (const auto& [command, id] : {std::pair{&kBackupsCommand, kBackupsMenu},
                                          std::pair{&kAddPackagesCommand, kAddPackagesMenu},
                                          std::pair{&kAboutCommand, kAboutMenu}}) {
            if (message.wParam != ShortcutKey(*command)) continue;
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
            return true;
        }
    }
    // A frame's mnemonic moves the focus to the list it frames: the list has no title of its
    // own, and the dialog would move on to the control after the frame in the tab order.
    if (message.message == WM_SYSCHAR) {
        const auto typed = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(message.wParam)));
        for (const TemplateControl& frame : kMainWindowControls) {
            if (frame.kind != TemplateKind::Group || Mnemonic(frame.text) != typed) continue;
            for (const TemplateControl& list : kMainWindowControls) {
                if (list.kind != TemplateKind::List || !Inside(RectOf(list), RectOf(frame)))
                    continue;
                SendMessageW(window, WM_NEXTDLGCTL,
                             reinterpret_cast<WPARAM>(ControlNamed(list.objectName)), TRUE);
                return true;
            }
        }
    }
    return IsDialogMessageW(window, &message) != FALSE;
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (const std::optional<bool> handled = layout_.Follow(message, wParam, lParam))
        return *handled;
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != kAboutMenu) return false;
            OnAbout();
            return true;
        case WM_CONTEXTMENU:
            ShowContextMenu(lParam);
            return true;
        case WM_DPICHANGED:
            // The dialog scales itself on the new screen; the icons are drawn for it anew.
            icons_.Apply(Handle());
            return false;
        case WM_DROPFILES:
            OnDroppedFiles(reinterpret_cast<HDROP>(wParam));
            return true;
        case WM_SETCURSOR:
            if (!busy_) return false;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            result = TRUE;
            return true;
        case WM_APP: {
            // What arrived while a command ran, now that the window is free.
            std::vector<std::function<void()>> actions;
            actions.swap(deferred_);
            for (const auto& action : actions) action();
            return true;
        }
        default:
            return false;
    }
}

void MainWindow::OnCommand(int id, int notification) {
    if (id == IdOf("installedList")) return OnListNotice(PackageList::Installed, notification);
    if (id == IdOf("availableList")) return OnListNotice(PackageList::Available, notification);
    if (id == IdOf("byeButton") || id == IDOK) {
        // Enter in a list is the list's command and never ends the program.
        const HWND focus = GetFocus();
        if (focus == ControlNamed("installedList"))
            return RunPackageCommand(PackageList::Installed);
        if (focus == ControlNamed("availableList"))
            return RunPackageCommand(PackageList::Available);
        if (focus == ControlNamed("contentList")) return;
        id = IDCANCEL;
    }
    if (id == IDCANCEL) {
        if (busy_) return;
        closed_ = true;
        End(IDCANCEL);
        return;
    }
    if (id == IdOf("installButton")) return RunPackageCommand(PackageList::Available);
    if (id == IdOf("deinstallButton")) return RunPackageCommand(PackageList::Installed);
    if (id == IdOf("optionsButton")) return OnOptions();
    if (id == IdOf("helpButton")) return OnHelpButton();
    if (id == IdOf("startButton")) return OnStart();
    if (id == kBackupsMenu) return OnBackups();
    if (id == kAddPackagesMenu && services_.finder != nullptr) {
        return ChooseAndAddFiles(state_, *this, services_.finder->packageFiles, lastAddFolder_);
    }
    if (id == kAboutMenu) return OnAbout();
    for (const TemplateControl& control : kMainWindowControls) {
        // A click selects the game, also the one already selected.
        if (control.kind == TemplateControl::Kind::GameChoice && id == IdOf(control.objectName)) {
            return SelectGame(control.id);
        }
    }
}

void MainWindow::OnListNotice(PackageList list, int notification) {
    if (notification == LBN_DBLCLK) return RunPackageCommand(list);
    if (notification != LBN_SELCHANGE) return;
    const LRESULT row = SendMessageW(ListOf(list), LB_GETCURSEL, 0, 0);
    const std::vector<std::string>& lines = state_.Lines(list);
    std::optional<std::string> line;
    if (row >= 0 && static_cast<std::size_t>(row) < lines.size()) line = lines[row];
    state_.SelectPackage(list, line);
    // At most one of the two lists shows a selection.
    const PackageList other =
        list == PackageList::Installed ? PackageList::Available : PackageList::Installed;
    SendMessageW(ListOf(other), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    MirrorSelection();
}

HWND MainWindow::ListOf(PackageList list) const {
    return ControlNamed(list == PackageList::Installed ? "installedList" : "availableList");
}

void MainWindow::ShowContextMenu(LPARAM where) {
    POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (where == -1) {
        // From the keyboard: beside the control with the focus.
        RECT rect{};
        GetWindowRect(GetFocus() != nullptr ? GetFocus() : Handle(), &rect);
        point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kBackupsMenu, MenuText(kBackupsCommand).c_str());
    if (services_.finder != nullptr) {
        AppendMenuW(menu, MF_STRING, kAddPackagesMenu, MenuText(kAddPackagesCommand).c_str());
    }
    AppendMenuW(menu, MF_STRING, kAboutMenu, MenuText(kAboutCommand).c_str());
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                         point.x, point.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen != 0) OnCommand(static_cast<int>(chosen), 0);
}

void MainWindow::Mirror() {
    if (Handle() == nullptr) return;
    FillList(ListOf(PackageList::Available), state_.Lines(PackageList::Available));
    FillList(ListOf(PackageList::Installed), state_.Lines(PackageList::Installed));
    SelectLine(ListOf(PackageList::Available), PackageList::Available);
    SelectLine(ListOf(PackageList::Installed), PackageList::Installed);
    MirrorSelection();
}

void MainWindow::MirrorSelection() {
    FillList(ControlNamed("contentList"), state_.ContentLines());
    EnableWindow(ControlNamed("installButton"), state_.CanInstall());
    EnableWindow(ControlNamed("deinstallButton"), state_.CanDeinstall());
    for (const TemplateControl& control : kMainWindowControls) {
        if (control.kind != TemplateControl::Kind::GameChoice) continue;
        SendMessageW(ControlNamed(control.objectName), BM_SETCHECK,
                     control.id == state_.CurrentGame() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void MainWindow::FillList(HWND list, const std::vector<std::string>& lines) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    // In the order given: the lines come sorted (ListOrder) and the list does not sort them.
    for (const std::string& line : lines) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ShownText(line).c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void MainWindow::SelectLine(HWND list, PackageList which) {
    const std::optional<std::string> selected = state_.Selected(which);
    WPARAM row = static_cast<WPARAM>(-1);
    const std::vector<std::string>& lines = state_.Lines(which);
    for (std::size_t i = 0; selected && i < lines.size(); ++i) {
        if (lines[i] == *selected) row = i;
    }
    SendMessageW(list, LB_SETCURSEL, row, 0);
}

void MainWindow::SelectGame(int game) {
    if (DeferWhileBusy([this, game] { SelectGame(game); })) return;
    const WaitCursor wait;
    SetBusy(true);
    // The lists empty at once, also while the options dialog asks for missing folders.
    for (const char* list : {"availableList", "installedList", "contentList"}) {
        FillList(ControlNamed(list), {});
    }
    waitNoticeShown_ = false;
    state_.SelectGame(game);
    SetBusy(false);
    Mirror();
}

bool MainWindow::DeferWhileBusy(std::function<void()> action) {
    if (!busy_) return false;
    deferred_.push_back(std::move(action));
    return true;
}

void MainWindow::SetBusy(bool busy) {
    busy_ = busy;
    if (!busy_ && !deferred_.empty()) PostMessageW(Handle(), WM_APP, 0, 0);
}

bool MainWindow::KeepWaitingForLock(std::chrono::milliseconds waited) {
    // A command's own thread only tells the window, which shows it in the progress window.
    if (GetWindowThreadProcessId(Handle(), nullptr) != GetCurrentThreadId()) {
        waitingForLock_ = true;
        return true;
    }
    // Another Wendmoor process holds the folders; its command is short, so the window waits,
    // and says so once the wait becomes noticeable. No message runs meanwhile: a queued action
    // must not start inside the selection.
    if (waited >= kLockNoticeDelay && !waitNoticeShown_) {
        waitNoticeShown_ = true;
        FillList(ControlNamed("contentList"), {kWaitingForLockText});
        UpdateWindow(ControlNamed("contentList"));
    }
    return true;
}

void MainWindow::OnOptions() {
    {
        OptionsBox options(state_.Paths(), services_);
        if (options.RunModal(Handle()) != IDOK) return;
    }
    // Saved before the refresh, which may ask for folders again.
    SaveFolders();
    if (state_.CurrentGame() != kNoGame && !busy_) SelectGame(state_.CurrentGame());
}

void MainWindow::SaveFolders() {
    if (const std::string unsaved = state_.SaveSettings(); !unsaved.empty()) {
        services_.messages.ShowWarning(ParentOf(Handle()), kAppCaption, unsaved);
    }
}

void MainWindow::Inform(const std::string& caption, const std::string& text) {
    services_.messages.ShowInformation(ParentOf(Handle()), caption, text, {});
}

}  // namespace wendmoor
