#include "platform/windows/WindowsError.h"

#include "platform/windows/Utf16.h"

namespace wendmoor {

std::string WindowsErrorMessage(DWORD error, const std::string& file) {
    // The wide text, so a message in any language arrives whole whatever the ANSI code page.
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text),
        0, nullptr);
    std::string message = length > 0 ? ToUtf8(std::wstring(text, length)) : std::string();
    LocalFree(text);
    if (message.empty()) message = "Error " + std::to_string(error) + "\r\n";
    // Inserts are left out of FormatMessageW: a missing argument there reads past the list.
    for (std::size_t at = message.find("%1"); at != std::string::npos;
         at = message.find("%1", at + file.size())) {
        message.replace(at, 2, file);
    }
    return message;
}

Outcome WindowsFailure(std::string subject, DWORD error) {
    std::string reason = WindowsErrorMessage(error, subject);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.')) {
        reason.pop_back();
    }
    return Outcome::Failed(std::move(subject), std::move(reason));
}

}  // namespace wendmoor
