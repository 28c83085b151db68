#include "settings/GamePaths.h"

#include "platform/SettingsStore.h"

namespace wendmoor {

const std::array<GamePathField, 11> kGamePathFields = {{
    {"caesar3_missions", &GamePaths::caesar3_missions},
    {"caesar3_path", &GamePaths::caesar3_path},
    {"pharao_missions", &GamePaths::pharao_missions},
    {"pharao_path", &GamePaths::pharao_path},
    {"pharao_saves", &GamePaths::pharao_saves},
    {"zeus_missions", &GamePaths::zeus_missions},
    {"zeus_path", &GamePaths::zeus_path},
    {"zeus_saves", &GamePaths::zeus_saves},
    {"emperor_missions", &GamePaths::emperor_missions},
    {"emperor_path", &GamePaths::emperor_path},
    {"emperor_saves", &GamePaths::emperor_saves},
}};

void LoadGamePaths(GamePaths& paths, const SettingsStore& store) {
    for (const GamePathField& field : kGamePathFields) {
        std::string value;
        if (!store.Read(field.name, value)) continue;
        // A stored value ends at its first zero byte, as a registry string does.
        value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
        if (value.size() > kMaxStoredPathLength) continue;
        paths.*field.member = value;
    }
}

void SaveGamePaths(const GamePaths& paths, SettingsStore& store) {
    for (const GamePathField& field : kGamePathFields) {
        const std::string& value = paths.*field.member;
        if (!value.empty()) store.Write(field.name, value);
    }
}

}  // namespace wendmoor
