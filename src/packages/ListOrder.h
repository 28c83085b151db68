#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendmoor {

// The order of every list the user sees, in the window and on the command line alike.
//
// Names that are valid UTF-8 come first, in the collation of the user's locale
// (platform/Collation.h) without regard to letter case, so in German "Ägypten" stands beside
// "alpha" rather than after "Zeus". Punctuation is not skipped: "E Troy.set" comes before
// "E Troy1.map". The C locale orders by the characters' code points.
//
// Names that are not valid UTF-8 cannot be collated; they follow, byte by byte with the
// letters A to Z folded to lower case.
//
// Lines the rules above hold equal (letter case, canonically equal spellings) are ordered by
// their bytes, so the order is total and never depends on insertion order.
bool ListLess(std::string_view a, std::string_view b);

void SortListLines(std::vector<std::string>& lines);

}  // namespace wendmoor
