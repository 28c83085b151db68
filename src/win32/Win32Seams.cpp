#include "win32/Win32Seams.h"

#include <shlobj.h>

#include "platform/windows/Utf16.h"
#include "ui/ControlTexts.h"
#include "ui/WindowTexts.h"
#include "win32/WideText.h"

namespace wendmoor {

namespace {

// A task dialog with the given icon and buttons; answers the button the player chose.
int ShowTask(ParentWindow parent, const std::string& caption, const std::string& text, PCWSTR icon,
             TASKDIALOG_COMMON_BUTTON_FLAGS buttons, const std::string& details = {},
             const std::vector<TASKDIALOG_BUTTON>& ownButtons = {}, int defaultButton = 0) {
    const std::wstring wideCaption = ShownText(caption);
    const std::wstring wideText = ShownText(text);
    const std::wstring wideDetails = ShownText(details);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = WindowOf(parent);
    // Escape and the close box answer as "No" or "Skip" do.
    // Over the window it is about, also while that window is disabled by a running command.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_SIZE_TO_CONTENT |
                     (config.hwndParent != nullptr ? TDF_POSITION_RELATIVE_TO_WINDOW : 0);
    config.dwCommonButtons = buttons;
    config.pszWindowTitle = wideCaption.c_str();
    config.pszMainIcon = icon;
    config.pszContent = wideText.c_str();
    if (!wideDetails.empty()) config.pszExpandedInformation = wideDetails.c_str();
    config.pButtons = ownButtons.empty() ? nullptr : ownButtons.data();
    config.cButtons = static_cast<UINT>(ownButtons.size());
    config.nDefaultButton = defaultButton;
    int chosen = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &chosen, nullptr, nullptr))) {
        // Without the common controls of version 6 there is no task dialog: a plain box then.
        UINT type = icon == TD_WARNING_ICON ? MB_ICONWARNING : MB_ICONINFORMATION;
        if (buttons & TDCBF_YES_BUTTON) type = MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2;
        const std::wstring all = details.empty() ? wideText : wideText + L"\n\n" + wideDetails;
        chosen = MessageBoxW(WindowOf(parent), all.c_str(), wideCaption.c_str(), type);
    }
    return chosen;
}

std::wstring ToWideName(const std::string& name) {
    std::wstring wide;
    return ToUtf16(name, wide) ? wide : std::wstring();
}

// The filter string of an open dialog: pairs of a shown name and its patterns, each ending
// with a zero, the whole with another.
std::wstring Filter(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::wstring filter;
    for (const auto& [name, pattern] : entries) {
        filter += ShownText(name) + L'\0' + ShownText(pattern) + L'\0';
    }
    return filter + L'\0';
}

std::wstring DownloadsFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

void Win32MessageBoxes::ShowInformation(ParentWindow parent, const std::string& caption,
                                        const std::string& text, const std::string& details) {
    ShowTask(parent, caption, text, TD_INFORMATION_ICON, TDCBF_OK_BUTTON, details);
}

void Win32MessageBoxes::ShowWarning(ParentWindow parent, const std::string& caption,
                                    const std::string& text) {
    ShowTask(parent, caption, text, TD_WARNING_ICON, TDCBF_OK_BUTTON);
}

bool Win32MessageBoxes::AskYesNo(ParentWindow parent, const std::string& caption,
                                 const std::string& text) {
    return ShowTask(parent, caption, text, nullptr, TDCBF_YES_BUTTON | TDCBF_NO_BUTTON, {}, {},
                    IDNO) == IDYES;
}

std::optional<std::string> Win32FileChooser::ChooseFile(ParentWindow parent,
                                                        const FileChoiceRequest& request) {
    std::wstring buffer = ShownText(request.initialText);
    buffer.resize(32768, L'\0');
    const std::wstring filter =
        request.pattern.empty() ? std::wstring() : Filter({{request.pattern, request.pattern}});
    const std::wstring folder = ToWideName(request.initialFolder);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = WindowOf(parent);
    open.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    open.lpstrFile = buffer.data();
    open.nMaxFile = static_cast<DWORD>(buffer.size());
    open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    open.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 (request.fileMustExist ? OFN_FILEMUSTEXIST : 0);
    if (!GetOpenFileNameW(&open)) return std::nullopt;
    return ToUtf8(buffer.c_str());
}

std::vector<std::string> Win32PackageFileChooser::ChoosePackageFiles(
    ParentWindow parent, const std::string& startFolder) {
    std::wstring folder = ToWideName(startFolder);
    if (folder.empty() || GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        folder = DownloadsFolder();
    }
    const std::wstring filter =
        Filter({{kWindowsZipPackagesFilter, "*.zip"}, {kWindowsAllFilesFilter, "*.*"}});
    const std::wstring title = ShownText(kAddCaption);
    std::wstring buffer(65536, L'\0');
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = WindowOf(parent);
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = buffer.data();
    open.nMaxFile = static_cast<DWORD>(buffer.size());
    open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    open.lpstrTitle = title.c_str();
    open.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT |
                 OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&open)) return {};
    // One file: its full path. Several: the folder, then each name, all ending with a zero.
    std::vector<std::wstring> parts;
    for (const wchar_t* part = buffer.c_str(); *part != L'\0'; part += wcslen(part) + 1) {
        parts.emplace_back(part);
    }
    std::vector<std::string> files;
    if (parts.size() == 1) {
        files.push_back(ToUtf8(parts.front()));
    } else {
        std::wstring base = parts.front();
        if (!base.empty() && base.back() != L'\\') base += L'\\';
        for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(ToUtf8(base + parts[i]));
    }
    return files;
}

bool Win32SameNameQuestion::AskKeepBoth(ParentWindow parent, const std::string& question) {
    constexpr int kKeepBoth = 100;
    constexpr int kSkip = 101;
    const std::wstring keep = ShownText(kKeepBothButton);
    const std::wstring skip = ShownText(kSkipButton);
    return ShowTask(parent, kAddCaption, question, nullptr, 0, {},
                    {{kKeepBoth, keep.c_str()}, {kSkip, skip.c_str()}}, kKeepBoth) == kKeepBoth;
}

}  // namespace wendmoor
