// The launcher on Windows: the shell's "open", with the names in UTF-16, so a game in a folder
// the ANSI code page cannot spell starts too. The game runs in its own folder.
#include "platform/Launcher.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsError.h"

// After windows.h, whose types it uses.
#include <shellapi.h>

namespace wendmoor {

namespace {

// A failed ShellExecuteExW leaves a code of 32 or less in hInstApp; some of these are no Win32
// error codes, and for them the last-error code may be left unset.
DWORD ErrorOfShellResult(INT_PTR result) {
    switch (result) {
        case 0:
        case SE_ERR_OOM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
            return ERROR_NO_ASSOCIATION;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return ERROR_DDE_FAIL;
        case SE_ERR_DLLNOTFOUND:
            return ERROR_DLL_NOT_FOUND;
        case SE_ERR_SHARE:
            return ERROR_SHARING_VIOLATION;
        default:
            return static_cast<DWORD>(result);  // file or path not found, access denied, ...
    }
}

class ShellLauncher final : public Launcher {
  public:
    // The shell decides at once; there is nothing to watch.
    Launch Open(const std::string& file, const std::string& directory) override {
        std::wstring wideFile;
        std::wstring wideDirectory;
        if (!ToUtf16(file, wideFile) || !ToUtf16(directory, wideDirectory)) {
            return Launch{LaunchFailure{"not a valid UTF-8 name\n", {}}, nullptr};
        }
        SHELLEXECUTEINFOW start{};
        start.cbSize = sizeof start;
        // No box of the shell's own: the window shows the failure in its "Error" box.
        start.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        start.lpVerb = L"open";
        start.lpFile = wideFile.c_str();
        start.lpDirectory = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
        start.nShow = SW_SHOWNORMAL;
        SetLastError(0);
        if (ShellExecuteExW(&start)) return {};
        DWORD error = GetLastError();
        if (error == 0) error = ErrorOfShellResult(reinterpret_cast<INT_PTR>(start.hInstApp));
        return Launch{LaunchFailure{WindowsErrorMessage(error, file), {}}, nullptr};
    }
};

}  // namespace

std::unique_ptr<Launcher> CreateSystemLauncher() {
    return std::make_unique<ShellLauncher>();
}

}  // namespace wendmoor
