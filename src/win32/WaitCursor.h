#pragma once

#include "win32/Win32Api.h"

namespace wendmoor {

// The wait cursor from construction to destruction; the cursor before it comes back after.
// The window keeps it while it is busy by answering WM_SETCURSOR the same way.
class WaitCursor {
  public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};

}  // namespace wendmoor
