#pragma once

// The Windows headers the window needs, in the order they need each other: windows.h first
// (through the platform layer's header, which keeps its macros from renaming our functions),
// then the shell, the common controls and the common dialogs.
#include "platform/windows/WindowsApi.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>
