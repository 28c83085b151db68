#include "packages/StoredName.h"

#include <array>

#include "platform/Path.h"

namespace wendmoor {

namespace {

#ifdef _WIN32
bool IsReservedDeviceName(std::string_view name) {
    const std::string stem = AsciiLower(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    for (std::string_view reserved : kPlain) {
        if (stem == reserved) return true;
    }
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
           stem[3] >= '1' && stem[3] <= '9';
}
#endif

}  // namespace

bool IsSafeFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find('/') != std::string_view::npos) return false;
    if (name.find('\0') != std::string_view::npos) return false;
#ifdef _WIN32
    if (name.find_first_of("\\:") != std::string_view::npos) return false;
    if (IsReservedDeviceName(name)) return false;
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
        if (stored[i] >= 'A' && stored[i] <= 'Z') stored[i] = static_cast<char>(stored[i] + 32);
    }
    return stored;
}

std::string_view ExtensionOf(std::string_view storedName) {
    const auto dot = storedName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : storedName.substr(dot);
}

}  // namespace wendmoor
