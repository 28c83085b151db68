#pragma once

#include <array>
#include <string>

namespace wendmoor {

class SettingsStore;

// The eleven configured folders. Each non-empty value ends with the path separator, so file
// paths are built by appending names to it. Empty means "not configured".
struct GamePaths {
    std::string caesar3_missions;
    std::string caesar3_path;
    std::string pharao_missions;
    std::string pharao_path;
    std::string pharao_saves;
    std::string zeus_missions;
    std::string zeus_path;
    std::string zeus_saves;
    std::string emperor_missions;
    std::string emperor_path;
    std::string emperor_saves;

    bool operator==(const GamePaths&) const = default;
};

struct GamePathField {
    const char* name;  // the name of the stored value
    std::string GamePaths::*member;
};

// The fields in their fixed order, which is also the order of loading and saving.
extern const std::array<GamePathField, 11> kGamePathFields;

// The longest folder a stored value may hold; a longer one is not taken.
inline constexpr std::size_t kMaxStoredPathLength = 259;

// Fills the record from the store. A value that is missing, unreadable or longer than
// kMaxStoredPathLength leaves its field as it was.
void LoadGamePaths(GamePaths& paths, const SettingsStore& store);

// Writes the non-empty fields. Empty fields are skipped, never deleted from the store.
void SaveGamePaths(const GamePaths& paths, SettingsStore& store);

}  // namespace wendmoor
