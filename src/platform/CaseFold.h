#pragma once

#include <string>
#include <string_view>

namespace wendmoor {

// A name as the games' file systems compare it, which ignore letter case for every letter: two
// names that differ only in case fold to the same text. UTF-8 text folds by Unicode's simple
// case folding, as Windows compares names ("Ä" and "ä", "Σ", "σ" and "ς", "Ж" and "ж" are
// each one name). Text that is not valid UTF-8 (a name written in an old code page)
// folds A to Z only, byte for byte, like AsciiLower. ASCII text costs no more than AsciiLower.
std::string FoldCase(std::string_view text);

}  // namespace wendmoor
