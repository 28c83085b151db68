#include "win32/DialogTemplate.h"

#include "win32/WideText.h"

namespace wendmoor {

namespace {

constexpr std::size_t kItemCountAt = 8;  // the WORD cDlgItems of the template's header
constexpr WORD kDialogFontPoints = 8;

// The system's message font (Segoe UI on Windows, Tahoma under Wine), which dialogs show;
// the template gives its name, the size stays 8 points as the layout was drawn for.
std::wstring MessageFontName() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0] != L'\0') {
        return metrics.lfMessageFont.lfFaceName;
    }
    return L"MS Shell Dlg 2";
}

}  // namespace

DialogTemplate::DialogTemplate(const std::string& title, DWORD style, int width, int height,
                               DWORD extendedStyle) {
    words_ = {1, 0xFFFF};  // dlgVer, signature: the extended template
    AddDword(0);           // helpID
    AddDword(extendedStyle);
    AddDword(style | DS_SETFONT);
    words_.push_back(0);  // cDlgItems, counted as controls are added
    for (const int value : {0, 0, width, height}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    AddString(ShownText(title));
    words_.push_back(kDialogFontPoints);
    words_.push_back(FW_NORMAL);
    words_.push_back(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
    AddString(MessageFontName());
}

void DialogTemplate::Add(const wchar_t* className, const std::string& text, int id, DWORD style,
                         int x, int y, int width, int height, DWORD extendedStyle) {
    AlignToDword();
    AddDword(0);  // helpID
    AddDword(extendedStyle);
    AddDword(style | WS_CHILD | WS_VISIBLE);
    for (const int value : {x, y, width, height}) words_.push_back(static_cast<WORD>(value));
    AddDword(static_cast<DWORD>(id));
    AddString(className);
    AddString(ShownText(text));
    words_.push_back(0);  // no creation data
    ++words_[kItemCountAt];
}

void DialogTemplate::AddString(const std::wstring& text) {
    for (const wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
}

void DialogTemplate::AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::AlignToDword() {
    if (words_.size() % 2 != 0) words_.push_back(0);
}

}  // namespace wendmoor
