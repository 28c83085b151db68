#include "cli/CliArguments.h"

#include <array>
#include <utility>

#include "cli/CliCommandTable.h"
#include "games/Games.h"
#include "platform/Path.h"
#include "platform/Version.h"

namespace wendmoor {

const std::string kCliVersion = std::string("wendmoor-cli ") + kVersionText;

namespace {

constexpr std::array<std::pair<const char*, GameId>, 4> kGameNames = {{
    {"caesar3", kCaesar3},
    {"pharao", kPharao},
    {"zeus", kZeus},
    {"emperor", kEmperor},
}};

ParsedCommandLine UsageError(std::string reason) {
    ParsedCommandLine parsed;
    parsed.kind = ParsedCommandLine::Kind::UsageError;
    parsed.usageError = std::move(reason);
    return parsed;
}

std::optional<std::string> TakeGame(const std::string& word, CliRequest& request) {
    request.game = GameIdFromName(word);
    if (request.game == kNoGame) return "unknown game: " + word;
    request.gameName = AsciiLower(word);
    return std::nullopt;
}

}  // namespace

int GameIdFromName(const std::string& name) {
    const std::string lower = AsciiLower(name);
    for (const auto& [spelling, id] : kGameNames) {
        if (lower == spelling) return id;
    }
    return kNoGame;
}

std::optional<std::string> ParseGameOperand(const std::string& name,
                                            const std::vector<std::string>& operands,
                                            CliRequest& request) {
    if (operands.empty()) return name + " needs a game";
    if (operands.size() > 1) return "too many arguments for " + name;
    return TakeGame(operands[0], request);
}

std::optional<std::string> ParsePackageOperands(const std::string& name,
                                                const std::vector<std::string>& operands,
                                                CliRequest& request) {
    if (operands.size() < 2) return name + " needs a game and a package";
    if (operands.size() > 2) return "too many arguments for " + name;
    request.packageName = operands[1];
    return TakeGame(operands[0], request);
}

std::optional<std::string> ParseAddOperands(const std::string&,
                                            const std::vector<std::string>& operands,
                                            CliRequest& request) {
    std::vector<std::string> files = operands;
    if (!files.empty() && files.back() == "--install") {
        request.installAdded = true;
        files.pop_back();
    }
    if (files.size() < 2) return "add needs a game and at least one file";
    request.files.assign(files.begin() + 1, files.end());
    return TakeGame(files.front(), request);
}

std::optional<std::string> ParseDetectOperands(const std::string&,
                                               const std::vector<std::string>& operands,
                                               CliRequest& request) {
    if (request.settingsFile) return "detect reads no settings";
    if (!operands.empty()) return "too many arguments for detect";
    return std::nullopt;
}

std::optional<std::string> ParseBackupsOperands(const std::string&,
                                                const std::vector<std::string>& operands,
                                                CliRequest& request) {
    if (operands.empty()) return "backups needs a game";
    if (std::optional<std::string> unknown = TakeGame(operands[0], request)) return unknown;
    if (operands.size() == 3 && operands[1] == "--remove") {
        request.command = CliCommand::RemoveBackup;
        request.backupName = operands[2];
        return std::nullopt;
    }
    if (operands.size() == 1) return std::nullopt;
    return "backups needs a game, then at most --remove NAME";
}

std::optional<std::string> ParseRestoreOperands(const std::string&,
                                                const std::vector<std::string>& operands,
                                                CliRequest& request) {
    if (operands.empty()) return "restore needs a game";
    if (std::optional<std::string> unknown = TakeGame(operands[0], request)) return unknown;
    if (operands.size() < 2 || operands.size() > 3 ||
        (operands.size() == 3 && operands[2] != "--force")) {
        return "restore needs a game and a backup, then at most --force";
    }
    request.backupName = operands[1];
    request.force = operands.size() == 3;
    return std::nullopt;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        parsed.kind = ParsedCommandLine::Kind::Help;
        return parsed;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        parsed.kind = ParsedCommandLine::Kind::Version;
        return parsed;
    }
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with("--"); ++next) {
        if (arguments[next] == "--no-wait") {
            parsed.request.noWait = true;
        } else if (arguments[next] != "--settings") {
            return UsageError("unknown option: " + arguments[next]);
        } else if (++next < arguments.size()) {
            parsed.request.settingsFile = arguments[next];
        } else {
            return UsageError("--settings needs a file");
        }
    }
    if (next >= arguments.size()) return UsageError("no command given");
    const CliCommandRow* command = FindCliCommand(arguments[next]);
    if (command == nullptr) return UsageError("unknown command: " + arguments[next]);

    // Nothing after the command is taken for an option of the tool.
    const std::vector<std::string> operands(
        arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1, arguments.end());
    parsed.request.command = command->command;
    if (std::optional<std::string> mistake =
            command->parse(command->name, operands, parsed.request)) {
        return UsageError(std::move(*mistake));
    }
    parsed.kind = ParsedCommandLine::Kind::Run;
    parsed.command = command;
    return parsed;
}

}  // namespace wendmoor
