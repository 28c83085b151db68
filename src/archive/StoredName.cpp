#include "archive/StoredName.h"

#include <array>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

#ifdef _WIN32
// The device names Windows finds in every folder: "con.map" and "NUL .txt" open the device, not
// a file. COM and LPT also take the superscript digits 1 to 3 (bytes B9, B2 and B3 in the
// Western code pages).
bool IsReservedDeviceName(std::string_view name) {
    std::string stem = AsciiLower(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    static constexpr std::array<std::string_view, 6> kPlain = {"con", "prn",    "aux",
                                                               "nul", "conin$", "conout$"};
    for (std::string_view reserved : kPlain) {
        if (stem == reserved) return true;
    }
    if (stem.size() != 4 || !(stem.starts_with("com") || stem.starts_with("lpt"))) return false;
    const unsigned char digit = static_cast<unsigned char>(stem[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

// Characters no Windows file name may hold; a name with one could not be written at all.
bool HasCharacterWindowsRefuses(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32) return true;
    }
    return name.find_first_of("\\:*?\"<>|") != std::string_view::npos;
}
#endif

}  // namespace

bool IsSafeFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find('/') != std::string_view::npos) return false;
    if (name.find('\0') != std::string_view::npos) return false;
    // Our temporary files are swept from the game folders: a file of the player's under such
    // a name would be at risk there. Case-blind, as on a case-blind file system both are one.
    if (AsciiLower(name.substr(0, std::strlen(kTemporaryPrefix))) == kTemporaryPrefix) {
        return false;
    }
#ifdef _WIN32
    if (HasCharacterWindowsRefuses(name) || IsReservedDeviceName(name)) return false;
    // Windows drops trailing dots and blanks from a name, so "rome.map." would be written as
    // "rome.map", a file the archive does not name.
    if (name.back() == '.' || name.back() == ' ') return false;
#endif
    return true;
}

std::optional<std::string> StoredNameOf(std::string_view entryName) {
    const auto slash = entryName.rfind('/');
    const std::string_view base =
        slash == std::string_view::npos ? entryName : entryName.substr(slash + 1);
    const auto dot = base.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    if (base.size() > kMaxStoredNameLength || !IsSafeFileName(base)) return std::nullopt;
    std::string stored(base);
    for (std::size_t i = dot; i < stored.size(); ++i) {
        stored[i] = AsciiLower(stored[i]);
    }
    return stored;
}

std::string_view ExtensionOf(std::string_view storedName) {
    const auto dot = storedName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : storedName.substr(dot);
}

}  // namespace wendmoor
