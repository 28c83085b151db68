#include "platform/Collation.h"

#include "platform/Utf8.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {

void UseUsersCollation() {
    // Every key is made with the user's locale (LOCALE_NAME_USER_DEFAULT): nothing to choose.
}

std::optional<std::string> CollationKey(std::string_view text) {
    // The same texts count as invalid as elsewhere, whatever this system's converter accepts.
    if (!IsUtf8(text)) return std::nullopt;
    if (text.empty()) return std::string();
    std::wstring wide;
    if (!ToUtf16(std::string(text), wide)) return std::nullopt;
    const int wideLength = static_cast<int>(wide.size());
    // A sort key is a byte string that compares as the texts collate.
    constexpr DWORD kFlags = LCMAP_SORTKEY | LINGUISTIC_IGNORECASE;
    const int keySize = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.c_str(), wideLength,
                                      nullptr, 0, nullptr, nullptr, 0);
    if (keySize <= 0) return std::nullopt;
    std::string key(static_cast<std::size_t>(keySize), '\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.c_str(), wideLength,
                  reinterpret_cast<LPWSTR>(key.data()), keySize, nullptr, nullptr, 0);
    // The key ends in a zero byte, which a comparison of whole strings does not need.
    if (!key.empty() && key.back() == '\0') key.pop_back();
    return key;
}

}  // namespace wendmoor
