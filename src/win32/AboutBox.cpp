#include "win32/AboutBox.h"

#include "ui/ControlTexts.h"
#include "ui/DialogTemplate.h"
#include "win32/DialogWindow.h"
#include "win32/ProgramIcon.h"

namespace wendmoor {

namespace {

constexpr int kReadmeId = 100;

// Adds the About table's control of that name.
void AddNamed(DialogTemplate& made, const char* name, const wchar_t* className, int id,
              DWORD style) {
    for (const TemplateControl& control : AboutControls()) {
        if (control.objectName != name) continue;
        made.Add(className, control.text, id, style, control.x, control.y, control.width,
                 control.height);
    }
}

class AboutBox final : public DialogWindow {
  public:
    explicit AboutBox(std::function<void()> onReadme) : onReadme_(std::move(onReadme)) {}

  protected:
    DialogTemplate MakeTemplate() const override {
        DialogTemplate made(kAboutTitle,
                            DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                            kAboutWidth, kAboutHeight);
        // In the tab order; the icon is the program's own, or the system's when it has none.
        AddNamed(made, "icon", L"STATIC", -1, SS_ICON);
        AddNamed(made, "version", L"STATIC", -1, SS_LEFT | SS_NOPREFIX);
        AddNamed(made, "okButton", L"BUTTON", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP);
        AddNamed(made, "contact", L"STATIC", -1, SS_LEFT | SS_NOPREFIX);
        // A link a screen reader names and the keyboard can follow.
        AddNamed(made, "readme", WC_LINK, kReadmeId, WS_TABSTOP);
        AddNamed(made, "licence", L"STATIC", -1, SS_LEFT | SS_NOPREFIX);
        return made;
    }

    bool OnInit() override {
        HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId));
        if (icon == nullptr) icon = LoadIconW(nullptr, IDI_APPLICATION);
        SendMessageW(GetWindow(Handle(), GW_CHILD), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        return false;
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message == WM_NOTIFY) {
            const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
            if (notice->idFrom != kReadmeId ||
                (notice->code != NM_CLICK && notice->code != NM_RETURN)) {
                return false;
            }
            if (onReadme_) onReadme_();
            return true;
        }
        if (message != WM_COMMAND) return false;
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            End(LOWORD(wParam));
            return true;
        }
        return false;
    }

  private:
    std::function<void()> onReadme_;
};

}  // namespace

bool RunAboutBox(HWND owner, std::function<void()> onReadme) {
    AboutBox about(std::move(onReadme));
    return about.RunModal(owner) == IDOK;
}

}  // namespace wendmoor
