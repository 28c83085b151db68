#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wendmoor {

// The length of the UTF-8 sequence at `at` with the character it encodes, or 0 when the bytes
// there are no valid sequence: a stray or missing continuation byte, an overlong form, an
// encoded surrogate or a value above U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& character);

bool IsUtf8(std::string_view bytes);

void AppendUtf8(std::string& out, char32_t character);

}  // namespace wendmoor
