#include "platform/Collation.h"

#include <locale.h>
#include <clocale>
#include <cwchar>
#include <cwctype>

#include <cstdint>

#include "platform/Utf8.h"

namespace wendmoor {

namespace {

// Letter case is folded before the collation sees the text, so names that differ only in case
// get the same key. The case of a letter does not depend on the language (Turkish aside), so
// the case tables of any UTF-8 locale serve; the C locale's know only A to Z.
locale_t CaseLocale() {
    static const locale_t locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            if (const locale_t made = newlocale(LC_CTYPE_MASK, name, locale_t{})) return made;
        }
        return locale_t{};
    }();
    return locale;
}

wchar_t Folded(char32_t character) {
    const auto wide = static_cast<wint_t>(character);
    if (const locale_t locale = CaseLocale()) return static_cast<wchar_t>(towlower_l(wide, locale));
    if (character >= U'A' && character <= U'Z') return static_cast<wchar_t>(character + 32);
    return static_cast<wchar_t>(wide);
}

}  // namespace

void UseUsersCollation() {
    std::setlocale(LC_COLLATE, "");
}

std::optional<std::string> CollationKey(std::string_view text) {
    // wchar_t holds the code point here whatever the locale's character set, so the collation
    // of the locale in effect applies to the text as it is, without converting it.
    std::wstring folded;
    folded.reserve(text.size());
    char32_t character = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceAt(text, at, character);
        if (length == 0) return std::nullopt;
        folded += Folded(character);
        at += length;
    }
    std::wstring weights(folded.size() * 4 + 16, L'\0');
    std::size_t size = std::wcsxfrm(weights.data(), folded.c_str(), weights.size());
    if (size >= weights.size()) {
        weights.assign(size + 1, L'\0');
        size = std::wcsxfrm(weights.data(), folded.c_str(), weights.size());
    }
    // The weights compare as numbers: big-endian bytes keep that order under a byte comparison.
    std::string key;
    key.reserve(size * 4);
    for (std::size_t i = 0; i < size; ++i) {
        const auto weight = static_cast<std::uint32_t>(weights[i]);
        for (int shift = 24; shift >= 0; shift -= 8) key += static_cast<char>(weight >> shift);
    }
    return key;
}

}  // namespace wendmoor
