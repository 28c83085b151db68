// The Win32 window driven by messages, as a player's clicks and keys arrive: a game chosen,
// installs by the button, Enter and a double-click, the window's icon, the options dialog's OK
// and Cancel, a restore from the backups dialog and the Cancel of an install that waits. The
// modal dialogs are worked from a timer that fires inside their own loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include <shlobj.h>

#include "TempDir.h"
#include "UiFakes.h"
#include "ZipWriter.h"
#include "games/Games.h"
#include "packages/CommandFolders.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/PackageLock.h"
#include "platform/SettingsStore.h"
#include "platform/windows/Utf16.h"
#include "settings/GamePaths.h"
#include "ui/MainWindowTemplate.h"
#include "ui/OptionsState.h"
#include "ui/WindowTexts.h"
#include "win32/BackupsBox.h"
#include "win32/MainWindow.h"
#include "win32/OptionsBox.h"
#include "win32/ProgressWindow.h"
#include "win32/WideText.h"

namespace wendmoor {
namespace {

using namespace testing;
using Lines = std::vector<std::string>;

// Works the dialogs that open, in order: each action runs on the first visible window of this
// thread with its title, from a timer that ticks inside whatever modal loop runs then.
class DialogScript {
  public:
    using Action = std::function<void(HWND)>;

    DialogScript() { timer_ = SetTimer(nullptr, 0, 20, &DialogScript::Tick); }
    ~DialogScript() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    void Expect(std::string title, Action action) {
        active_ = this;
        steps_.push_back({std::move(title), std::move(action)});
    }
    std::size_t Pending() const { return steps_.size(); }

  private:
    struct Step {
        std::string title;
        Action action;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (active_ == nullptr || active_->steps_.empty()) return;
        Step& step = active_->steps_.front();
        // A window under a modal one is disabled: the one wanted is the one the player can use.
        std::pair<const std::string*, HWND> wanted{&step.title, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                auto& [title, result] =
                    *reinterpret_cast<std::pair<const std::string*, HWND>*>(data);
                if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
                    ControlText(window) != *title) {
                    return TRUE;
                }
                result = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&wanted));
        const HWND found = wanted.second;
        if (found == nullptr) return;
        const Step taken = std::move(step);
        active_->steps_.pop_front();
        taken.action(found);
    }

    static inline DialogScript* active_ = nullptr;
    UINT_PTR timer_ = 0;
    std::deque<Step> steps_;
};

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

Lines ListLines(HWND list) {
    Lines lines;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1,
                          L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
        lines.push_back(ToUtf8(text));
    }
    return lines;
}

std::string ReadFile(const std::string& path) {
    std::wstring wide;
    ToUtf16(path, wide);
    std::ifstream file(std::filesystem::path(wide), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class FakeLauncher final : public Launcher {
  public:
    Launch Open(const std::string&, const std::string&) override { return {}; }
};

// A fault in a window procedure does not end the program: the system goes on after the
// callback. Each test counts them instead.
class FaultCounter {
  public:
    FaultCounter() { handler_ = AddVectoredExceptionHandler(1, &FaultCounter::Count); }
    ~FaultCounter() { RemoveVectoredExceptionHandler(handler_); }
    static inline int faults = 0;

  private:
    static LONG CALLBACK Count(EXCEPTION_POINTERS* exception) {
        if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++faults;
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* handler_ = nullptr;
};

class Win32WindowTest : public ::testing::Test {
  protected:
    void TearDown() override {
        window.reset();
        EXPECT_EQ(FaultCounter::faults, 0) << "a window procedure faulted";
        FaultCounter::faults = 0;
    }

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
        InitCommonControlsEx(&controls);
        paths.caesar3_missions = dir.MakeFolder("c3missions");
        paths.caesar3_path = dir.MakeFolder("Caesar3");
        paths.pharao_path = dir.MakeFolder("Pharaoh");  // no first-start About box
        ASSERT_TRUE(ZipWriter()
                        .Add("Rome.map", "rome map")
                        .Add("Rome.sav", "rome save")
                        .WriteTo(paths.caesar3_missions + "rome.zip"));
        ASSERT_TRUE(ZipWriter()
                        .Add("Carthage.map", "carthage map")
                        .WriteTo(paths.caesar3_missions + "carthage.zip"));
        ASSERT_TRUE(SaveGamePaths(paths, *store).Ok());
        window = std::make_unique<MainWindow>(*store, services);
        ASSERT_TRUE(window->InitDialog());
        ShowWindow(window->Handle(), SW_SHOW);
        Click(window->Handle(), MainWindow::IdOf("caesar3Button"));
        ASSERT_EQ(window->CurrentGame(), kCaesar3);
    }

    HWND Control(const char* name) const { return window->ControlNamed(name); }
    Lines Installed() const { return ListLines(Control("installedList")); }
    Lines Available() const { return ListLines(Control("availableList")); }

    // As the player's click on a line: the list selects it and tells the window.
    void Pick(const char* list, const std::string& line) {
        const Lines lines = ListLines(Control(list));
        const auto row = std::find(lines.begin(), lines.end(), line) - lines.begin();
        ASSERT_LT(static_cast<std::size_t>(row), lines.size()) << line;
        SendMessageW(Control(list), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageW(window->Handle(), WM_COMMAND,
                     MAKEWPARAM(MainWindow::IdOf(list), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Control(list)));
    }

    // A key as the window's loop gets it: through its keys and the dialog's.
    void PressKey(HWND control, WPARAM key) {
        PostMessageW(control, WM_KEYDOWN, key, 0);
        Pump();
    }

    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (window->PreTranslate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    TempDir dir;
    GamePaths paths;
    std::unique_ptr<SettingsStore> store = OpenIniSettingsStore(dir.path() + "QARN.ini");
    RecordingMessageBoxes messages;
    ScriptedFileChooser files;
    FakeLauncher launcher;
    ScriptedFolderPicker folderPicker;
    ScriptedPackageFiles packageFiles;
    ScriptedSameName sameName;
    FinderServices finder{{}, folderPicker, packageFiles, sameName};
    Win32Services services{messages, files, launcher, &finder};
    FaultCounter faultCounter;
    std::unique_ptr<MainWindow> window;
    DialogScript dialogs;
};

// The list's button, Enter in the list and a double-click on the line each run the list's
// command; the package moves to the other list, selected there, and nothing is reported.
TEST_F(Win32WindowTest, ButtonEnterAndDoubleClickRunTheListsCommand) {
    const std::function<void(const char* list)> ways[] = {
        [this](const char* list) {
            Click(window->Handle(),
                  MainWindow::IdOf(std::string(list) == "availableList" ? "installButton"
                                                                        : "deinstallButton"));
        },
        [this](const char* list) {
            SendMessageW(window->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(list)),
                         TRUE);
            PressKey(Control(list), VK_RETURN);
        },
        [this](const char* list) {
            SendMessageW(window->Handle(), WM_COMMAND,
                         MAKEWPARAM(MainWindow::IdOf(list), LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(Control(list)));
        },
    };
    for (std::size_t way = 0; way < std::size(ways); ++way) {
        SCOPED_TRACE(way);
        Pick("availableList", "rome.zip");
        EXPECT_TRUE(IsWindowEnabled(Control("installButton")));
        ways[way]("availableList");
        EXPECT_EQ(Installed(), Lines({"rome.zip"}));
        EXPECT_EQ(Available(), Lines({"carthage.zip"}));
        EXPECT_EQ(SendMessageW(Control("installedList"), LB_GETCURSEL, 0, 0), 0);

        Pick("installedList", "rome.zip");
        ways[way]("installedList");
        EXPECT_TRUE(Installed().empty());
        EXPECT_EQ(Available(), Lines({"carthage.zip", "rome.zip"}));
        EXPECT_FALSE(window->Closed());  // Enter never reached the default button
    }
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().second;
}

// The title bar and the taskbar show the program's own icon (a dialog has none of its own),
// each drawn at its size for the window's screen.
TEST_F(Win32WindowTest, WindowHasTheProgramsIconAtItsScreensSizes) {
    const UINT dpi = GetDpiForWindow(window->Handle());
    for (const auto& [which, metric] :
         {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        SCOPED_TRACE(which);
        const auto icon =
            reinterpret_cast<HICON>(SendMessageW(window->Handle(), WM_GETICON, which, 0));
        ICONINFO info{};
        ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetricsForDpi(metric, dpi));
    }
}

// OK keeps and saves the folder the "..." button chose; Cancel leaves the saved one.
TEST_F(Win32WindowTest, OptionsOkSavesTheChosenFolderAndCancelDoesNot) {
    const std::string chosen = dir.MakeFolder("other missions");
    const OptionsRow& row = kOptionsRows[0];
    ASSERT_EQ(row.field, &GamePaths::caesar3_missions);
    for (const int button : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(button);
        files.Answer(chosen + row.initialText);
        dialogs.Expect(kOptionsTitle, [&](HWND options) {
            Click(options, OptionsBox::kFirstBrowseId);
            EXPECT_EQ(ControlText(GetDlgItem(options, OptionsBox::kFirstFieldId)), chosen);
            PostMessageW(options, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        });
        Click(window->Handle(), MainWindow::IdOf("optionsButton"));
        EXPECT_EQ(dialogs.Pending(), 0u);
        GamePaths saved;
        EXPECT_TRUE(LoadGamePaths(saved, *store).empty());
        EXPECT_EQ(saved.caesar3_missions, button == IDOK ? chosen : paths.caesar3_missions);
    }
}

// An install kept the player's save; "Backups..." puts it back once the question about the
// changed file is answered "Yes".
TEST_F(Win32WindowTest, BackupsRestoreThePlayersSave) {
    const std::string save = paths.caesar3_path + "Rome.sav";
    dir.WriteFile("Caesar3/Rome.sav", "PLAYER-PROGRESS");
    Pick("availableList", "rome.zip");
    Click(window->Handle(), MainWindow::IdOf("installButton"));
    ASSERT_EQ(messages.shown.size(), 1u);  // what the install kept
    dir.WriteFile("Caesar3/Rome.sav", "PLAYED ON");

    messages.answers = {true};
    dialogs.Expect(BackupsCaption(FindGame(kCaesar3)->name), [](HWND backups) {
        Click(backups, BackupsBox::kRestoreId);
        PostMessageW(backups, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    SendMessageW(window->Handle(), WM_COMMAND, MainWindow::kBackupsMenu, 0);
    EXPECT_EQ(dialogs.Pending(), 0u);
    EXPECT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(ReadFile(save), "PLAYER-PROGRESS");
    EXPECT_EQ(messages.shown.back().second.rfind("Put back from", 0), 0u);
}

// An install that waits for another command shows its progress; Cancel stops it before it
// replaces anything, and the window says so.
TEST_F(Win32WindowTest, CancelStopsAWaitingInstall) {
    FileSystem fileSystem;
    auto held = std::make_shared<PackageLock>();
    ASSERT_TRUE(held->Acquire(PackageLock::Mode::Exclusive,
                              GameFolders(*FindGame(kCaesar3), paths, fileSystem), {})
                    .Ok());
    const HWND main = window->Handle();
    std::string shown;
    dialogs.Expect(kMainWindowTitle, [&](HWND progress) {
        ASSERT_NE(progress, main);
        shown = ControlText(GetDlgItem(progress, ProgressWindow::kTextId));
        Click(progress, IDCANCEL);
        held->Release();  // the other command ends
    });
    Pick("availableList", "rome.zip");
    Click(main, MainWindow::IdOf("installButton"));
    EXPECT_EQ(dialogs.Pending(), 0u);
    EXPECT_NE(shown.find("Waiting for another Wendmoor command"), std::string::npos) << shown;
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second, "Cancelled: nothing was replaced.\n");
    EXPECT_TRUE(Installed().empty());
    EXPECT_EQ(ReadFile(paths.caesar3_path + "Rome.map"), "");
}

// Files dropped on the window are added once the drop has ended: a new one joins the list, and
// a same-named one with other bytes is kept beside the first when the question says so.
TEST_F(Win32WindowTest, DroppedFilesAreAddedToTheSelectedGame) {
    const std::string sicily =
        dir.WriteFile("downloads/Sicily.zip", ZipWriter().Add("Sicily.map", "s").Bytes());
    const std::string rome =
        dir.WriteFile("downloads/rome.zip", ZipWriter().Add("Rome.map", "other").Bytes());
    std::wstring names;
    for (const std::string& file : {sicily, rome}) {
        std::wstring wide;
        ASSERT_TRUE(ToUtf16(file, wide));
        names += wide + L'\0';
    }
    names += L'\0';
    const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(drop);

    PostMessageW(window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    Pump();
    EXPECT_EQ(Available(), Lines({"carthage.zip", "rome (2).zip", "rome.zip", "Sicily.zip"}));
    EXPECT_EQ(sameName.asked.size(), 1u);
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().second;
}

// Run on a screen shorter than the options dialog, as a large scaling makes it: the dialog fits
// the screen and scrolls, so that every row and OK can be reached.
class Win32ShortScreenTest : public Win32WindowTest {};

TEST_F(Win32ShortScreenTest, OptionsScrollToEveryRowAndOk) {
    const int firstField = OptionsBox::kFirstFieldId;
    const int lastBrowse = OptionsBox::kFirstBrowseId + static_cast<int>(kOptionsRowCount) - 1;
    dialogs.Expect(kOptionsTitle, [&](HWND options) {
        const auto inView = [options](int id) {
            RECT client{};
            RECT rect{};
            GetClientRect(options, &client);
            GetWindowRect(GetDlgItem(options, id), &rect);
            MapWindowPoints(nullptr, options, reinterpret_cast<POINT*>(&rect), 2);
            return rect.top >= 0 && rect.bottom <= client.bottom;
        };
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(options, MONITOR_DEFAULTTONEAREST), &monitor);
        RECT frame{};
        GetWindowRect(options, &frame);
        EXPECT_LE(frame.bottom - frame.top, monitor.rcWork.bottom - monitor.rcWork.top);
        EXPECT_TRUE(inView(firstField));
        EXPECT_FALSE(inView(IDOK)) << "the screen is not shorter than the dialog";

        SendMessageW(options, WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_TRUE(inView(IDOK));
        EXPECT_TRUE(inView(lastBrowse));
        EXPECT_FALSE(inView(firstField));
        // The wheel goes to the control with the focus, here a field.
        SendMessageW(GetDlgItem(options, firstField + static_cast<int>(kOptionsRowCount) - 1),
                     WM_MOUSEWHEEL, MAKEWPARAM(0, 20 * WHEEL_DELTA), 0);
        EXPECT_TRUE(inView(firstField));
        SendMessageW(options, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(options, lastBrowse)), TRUE);
        EXPECT_TRUE(inView(lastBrowse));
        PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    Click(window->Handle(), MainWindow::IdOf("optionsButton"));
    EXPECT_EQ(dialogs.Pending(), 0u);
}

}  // namespace
}  // namespace wendmoor
