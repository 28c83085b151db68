#include "settings/GamePaths.h"

#include <vector>

#include "platform/Path.h"
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

namespace {

bool EndsWithSeparator(const std::string& folder) {
    return !folder.empty() && (folder.back() == kPathSeparator || folder.back() == '/');
}

}  // namespace

std::vector<std::string> LoadGamePaths(GamePaths& paths, const SettingsStore& store) {
    std::vector<std::string> problems;
    for (const GamePathField& field : kGamePathFields) {
        std::string value;
        if (!store.Read(field.name, value)) {
            if (std::string why = store.WhyUnreadable(field.name); !why.empty()) {
                problems.push_back(std::move(why));
            }
            continue;
        }
        // A stored value ends at its first zero byte, as a registry string does.
        value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
        if (value.size() > kMaxStoredPathLength) {
            problems.push_back(std::string(field.name) + ": not used, longer than " +
                               std::to_string(kMaxStoredPathLength) + " bytes");
            continue;
        }
        // File paths are built by appending names, so "/games/C3" would put "/games/C3Rome.map"
        // beside the folder.
        if (!value.empty() && !EndsWithSeparator(value)) value += kPathSeparator;
        paths.*field.member = value;
    }
    // A misspelt name would otherwise leave its folder empty without a word.
    std::vector<std::string> known;
    for (const GamePathField& field : kGamePathFields) known.emplace_back(field.name);
    for (const std::string& name : store.UnknownNames(known)) {
        problems.push_back(name + ": not a setting Wendmoor knows, not used");
    }
    return problems;
}

Outcome SaveGamePaths(const GamePaths& paths, SettingsStore& store) {
    Outcome outcome;
    for (const GamePathField& field : kGamePathFields) {
        const std::string& value = paths.*field.member;
        if (value.empty()) continue;
        // Loading adds the separator again, so the folder comes back as it is.
        const bool fitsOnlyWithout =
            value.size() == kMaxStoredPathLength + 1 && EndsWithSeparator(value);
        const Outcome written =
            store.Write(field.name, fitsOnlyWithout ? value.substr(0, value.size() - 1) : value);
        // The store names its file or key; the player needs the value too.
        for (const Outcome::Failure& failure : written.Failures()) {
            outcome.Add(field.name, failure.subject + ": " + failure.reason);
        }
    }
    return outcome;
}

}  // namespace wendmoor
