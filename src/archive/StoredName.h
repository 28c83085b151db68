#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wendmoor {

// The longest base name an entry may have; a longer one is skipped like a name without an
// extension, as the games cannot use such a file anyway.
inline constexpr std::size_t kMaxStoredNameLength = 259;

// The name an archive entry is installed under: its name after the last "/" (a backslash is an
// ordinary character in a stored name), with the extension from the last "." lower-cased
// (letters A to Z only). Nothing for a folder entry, a name without ".", a name too long, and a
// name that would not stay inside its target folder (see IsSafeFileName).
std::optional<std::string> StoredNameOf(std::string_view entryName);

// Stored names with the name an earlier version installed each entry under: the stored name of
// the entry's bytes as the archive holds them, before they were decoded (see DecodeEntryName).
// Only names whose two spellings differ are listed.
using EarlierSpellings = std::vector<std::pair<std::string, std::string>>;

// The extension of a stored name, from its last "." to the end.
std::string_view ExtensionOf(std::string_view storedName);

// Whether a name can be placed in a folder and stay there: not empty, not "." or "..", free
// of path separators, and not starting with our temporary files' prefix (kTemporaryPrefix). On
// Windows also free of "\", ":" and the other characters Windows refuses in a name (*?"<>| and
// control characters), not ending in a dot or a blank, and not a reserved device name (CON, NUL,
// COM1 ...), with or without an extension.
bool IsSafeFileName(std::string_view name);

}  // namespace wendmoor
