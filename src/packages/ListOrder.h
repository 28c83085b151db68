#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendmoor {

// The order of every list the user sees: byte by byte with the letters A to Z folded to lower
// case and no locale rule that would skip punctuation, so "E Troy.set" comes before
// "E Troy1.map" and "alpha.zip" before "Beta.zip". Lines equal but for letter case are ordered
// by their bytes, so the order is total and never depends on insertion order.
bool ListLess(std::string_view a, std::string_view b);

void SortListLines(std::vector<std::string>& lines);

}  // namespace wendmoor
