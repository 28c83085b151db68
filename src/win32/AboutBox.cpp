#include "win32/AboutBox.h"

#include "platform/Version.h"
#include "ui/ControlTexts.h"
#include "ui/DialogLayouts.h"
#include "win32/DialogWindow.h"

namespace wendmoor {

namespace {

constexpr int kReadmeId = 100;

void AddAt(DialogTemplate& made, const wchar_t* className, const std::string& text, int id,
           DWORD style, const UnitRect& rect) {
    made.Add(className, text, id, style, rect.x, rect.y, rect.width, rect.height);
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
        AddAt(made, L"STATIC", "", -1, SS_ICON, kAboutIcon);
        AddAt(made, L"STATIC", std::string(kAboutVersion) + kVersionText, -1, SS_LEFT | SS_NOPREFIX,
              kAboutVersionText);
        AddAt(made, L"BUTTON", kOkButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, kAboutOkButton);
        AddAt(made, L"STATIC", kAboutAuthors, -1, SS_LEFT | SS_NOPREFIX, kAboutAuthorsText);
        // A link a screen reader names and the keyboard can follow.
        AddAt(made, WC_LINK, kAboutReadmeLink, kReadmeId, WS_TABSTOP, kAboutReadmeText);
        AddAt(made, L"STATIC", kAboutLicence, -1, SS_LEFT | SS_NOPREFIX, kAboutLicenceText);
        return made;
    }

    bool OnInit() override {
        HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
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
