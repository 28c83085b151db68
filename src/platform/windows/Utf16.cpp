#include "platform/windows/Utf16.h"

#include <cwchar>

#include "platform/windows/WindowsApi.h"

namespace wendmoor {

bool ToUtf16(const std::string& text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    if (text.find('\0') != std::string::npos) return false;
    const int size = static_cast<int>(text.size());
    // MB_ERR_INVALID_CHARS makes an invalid sequence a failure instead of a U+FFFD.
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<std::size_t>(length));
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                            length) != length) {
        wide.clear();
        return false;
    }
    return true;
}

Outcome ToUtf16(const std::string& text, std::wstring& wide, const std::string& subject) {
    if (ToUtf16(text, wide)) return {};
    return Outcome::Failed(subject, "not a valid UTF-8 name");
}

std::string ToUtf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::string ToUtf8(const wchar_t* wide) {
    return wide == nullptr ? std::string() : ToUtf8(std::wstring(wide, std::wcslen(wide)));
}

}  // namespace wendmoor
