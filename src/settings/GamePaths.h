#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/Outcome.h"

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

// The longest value the store may hold for a folder; a longer one is not taken. The limit is
// on the stored bytes (what the registry's fixed buffer reads), not on the folder in memory:
// a stored value may leave out the trailing separator, which loading adds.
inline constexpr std::size_t kMaxStoredPathLength = 259;

// Fills the record from the store; a folder written without its trailing separator gets one.
// A value that is missing, unreadable or longer than kMaxStoredPathLength leaves its field as
// it was. Returns what the player should hear about values present but not taken, one line
// each, naming the value.
std::vector<std::string> LoadGamePaths(GamePaths& paths, const SettingsStore& store);

// Writes the non-empty fields. Empty fields are skipped, never deleted from the store. A folder
// that fits the stored limit only without its trailing separator is written without it. Every
// field is tried; the outcome has one failure per field that could not be written, its subject
// the field's name, its reason what the store said (the file or key, and why).
Outcome SaveGamePaths(const GamePaths& paths, SettingsStore& store);

}  // namespace wendmoor
