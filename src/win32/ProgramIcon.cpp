#include "win32/ProgramIcon.h"

namespace wendmoor {

namespace {

// The program's icon at the size the system metrics give for that scaling; of the sizes the
// resource holds, the system draws the nearest.
HICON LoadProgramIcon(int widthMetric, int heightMetric, UINT dpi) {
    return static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
        GetSystemMetricsForDpi(widthMetric, dpi), GetSystemMetricsForDpi(heightMetric, dpi), 0));
}

// Puts `icon` on the window (none brings back the system's) and frees the one held before:
// the window no longer shows it.
void Replace(HWND window, WPARAM which, HICON& held, HICON icon) {
    if (IsWindow(window)) SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    if (held != nullptr) DestroyIcon(held);
    held = icon;
}

}  // namespace

WindowIcons::~WindowIcons() {
    Replace(window_, ICON_BIG, large_, nullptr);
    Replace(window_, ICON_SMALL, small_, nullptr);
}

void WindowIcons::Apply(HWND window) {
    window_ = window;
    const UINT dpi = GetDpiForWindow(window);
    Replace(window, ICON_BIG, large_, LoadProgramIcon(SM_CXICON, SM_CYICON, dpi));
    Replace(window, ICON_SMALL, small_, LoadProgramIcon(SM_CXSMICON, SM_CYSMICON, dpi));
}

}  // namespace wendmoor
