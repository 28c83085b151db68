#pragma once

#include <functional>

#include "win32/Win32Api.h"

namespace wendmoor {

// "Info über QARN": the version, the authors, the readme as a link (which runs `onReadme`) and
// the licence. True when the player left it with OK; false with Escape or the close box.
bool RunAboutBox(HWND owner, std::function<void()> onReadme);

}  // namespace wendmoor
