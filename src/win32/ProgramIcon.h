#pragma once

#include "win32/Win32Api.h"

namespace wendmoor {

// The program's icon: resource 1 of wendmoor.rc, the first icon of the program, which Explorer
// shows for it.
inline constexpr WORD kProgramIconId = 1;

// A window's title bar and taskbar icons, the program's own drawn at the sizes of the window's
// screen, so they stay sharp at any scaling. The icons are this object's; they are taken off
// the window again before they go.
class WindowIcons {
  public:
    WindowIcons() = default;
    ~WindowIcons();
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;

    // At WM_INITDIALOG, and again at WM_DPICHANGED, when the window reached a screen of another
    // scaling.
    void Apply(HWND window);

  private:
    HWND window_ = nullptr;
    HICON large_ = nullptr;
    HICON small_ = nullptr;
};

}  // namespace wendmoor
