#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wendmoor {

// The code point that starts at `at` in UTF-8 text, with `at` moved past it; nothing when the
// bytes there are no well-formed UTF-8 (a stray or missing continuation byte, an overlong form,
// a surrogate, a value past U+10FFFF), and then `at` is left as it was.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at);

// Whether the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace wendmoor
