#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wendmoor {

// The collation of the user's locale, without regard to letter case: the order of the names
// the player sees. On Windows it is the user's locale of the system settings; elsewhere the C
// library's collation of LC_COLLATE, which the C locale (C.UTF-8 included) defines as the order
// of the characters' code points.

// Makes the collation of the user's locale (LC_COLLATE, LC_ALL or LANG in the environment)
// the one in effect. Each program calls it once at its start; until then the C locale's holds.
void UseUsersCollation();

// A key that stands for the text's place in the collation: keys compare as std::string (byte
// by byte) the way their texts collate, and texts that differ only in letter case get the same
// key. Nothing when the text is not valid UTF-8, which no collation orders.
std::optional<std::string> CollationKey(std::string_view text);

}  // namespace wendmoor
