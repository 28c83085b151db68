#include "cli/CliArguments.h"

#include <array>
#include <optional>
#include <utility>

#include "games/Games.h"
#include "platform/Path.h"
#include "platform/Version.h"

namespace wendmoor {

const char* const kCliUsage =
    "usage: wendmoor-cli [OPTIONS] list      GAME\n"
    "       wendmoor-cli [OPTIONS] show      GAME PACKAGE\n"
    "       wendmoor-cli [OPTIONS] install   GAME PACKAGE\n"
    "       wendmoor-cli [OPTIONS] deinstall GAME PACKAGE\n"
    "       wendmoor-cli [OPTIONS] refs      GAME\n"
    "       wendmoor-cli [OPTIONS] add       GAME FILE... [--install]\n"
    "       wendmoor-cli detect\n"
    "       wendmoor-cli [OPTIONS] backups   GAME [--remove NAME]\n"
    "       wendmoor-cli [OPTIONS] restore   GAME NAME [--force]\n"
    "       wendmoor-cli --help | --version\n"
    "GAME is caesar3, pharao, zeus or emperor; PACKAGE is a file name in the game's missions "
    "folder.\n"
    "add copies each FILE, which must be a package of GAME, into the game's missions folder and\n"
    "prints the name it has there. A file of the same name with other content stays untouched\n"
    "and the new one is added beside it as \"NAME (2).zip\" (the next free number). --install,\n"
    "last, installs each added package. A file named --install is given as ./--install.\n"
    "detect prints the game folders it finds as settings lines, with a \";\" comment per\n"
    "candidate: wendmoor-cli detect > my.ini gives a settings file. It never writes settings.\n"
    "OPTIONS: --settings FILE  read the folders from this INI file\n"
    "         --no-wait        fail at once while another Wendmoor command is running\n";

const std::string kCliVersion = std::string("wendmoor-cli ") + kVersionText;

namespace {

struct CommandSpelling {
    const char* word;
    CliCommand command;
    bool takesPackage;
};

constexpr std::array<CommandSpelling, 5> kCommands = {{
    {"list", CliCommand::List, false},
    {"show", CliCommand::Show, true},
    {"install", CliCommand::Install, true},
    {"deinstall", CliCommand::Deinstall, true},
    {"refs", CliCommand::Refs, false},
}};

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

// "backups GAME [--remove NAME]" and "restore GAME NAME [--force]"; nothing for other commands.
// Backup names never start with "-", so the options after them cannot be mistaken for one.
std::optional<ParsedCommandLine> ParseBackupCommand(const std::vector<std::string>& arguments,
                                                    std::size_t next, CliRequest request) {
    const std::string& word = arguments[next];
    if (word != "backups" && word != "restore") return std::nullopt;
    const std::vector<std::string> operands(arguments.begin() + static_cast<long>(next) + 1,
                                            arguments.end());
    if (operands.empty()) return UsageError(word + " needs a game");
    request.game = GameIdFromName(operands[0]);
    if (request.game == kNoGame) return UsageError("unknown game: " + operands[0]);
    request.gameName = AsciiLower(operands[0]);
    if (word == "backups") {
        if (operands.size() == 3 && operands[1] == "--remove") {
            request.command = CliCommand::RemoveBackup;
            request.backupName = operands[2];
        } else if (operands.size() == 1) {
            request.command = CliCommand::Backups;
        } else {
            return UsageError("backups needs a game, then at most --remove NAME");
        }
    } else {
        if (operands.size() < 2 || operands.size() > 3 ||
            (operands.size() == 3 && operands[2] != "--force")) {
            return UsageError("restore needs a game and a backup, then at most --force");
        }
        request.command = CliCommand::Restore;
        request.backupName = operands[1];
        request.force = operands.size() == 3;
    }
    ParsedCommandLine parsed;
    parsed.kind = ParsedCommandLine::Kind::Run;
    parsed.request = std::move(request);
    return parsed;
}

const CommandSpelling* FindCommand(const std::string& word) {
    for (const CommandSpelling& spelling : kCommands) {
        if (word == spelling.word) return &spelling;
    }
    return nullptr;
}

// detect takes nothing; add takes a game, one file or more and, last, --install.
ParsedCommandLine ParseFinderCommand(ParsedCommandLine parsed,
                                     const std::vector<std::string>& arguments, std::size_t next) {
    const std::string& word = arguments[next++];
    if (word == "detect") {
        if (parsed.request.settingsFile) return UsageError("detect reads no settings");
        if (next < arguments.size()) return UsageError("too many arguments for detect");
        parsed.request.command = CliCommand::Detect;
        parsed.kind = ParsedCommandLine::Kind::Run;
        return parsed;
    }
    std::vector<std::string> operands(arguments.begin() + static_cast<std::ptrdiff_t>(next),
                                      arguments.end());
    if (!operands.empty() && operands.back() == "--install") {
        parsed.request.installAdded = true;
        operands.pop_back();
    }
    if (operands.size() < 2) return UsageError("add needs a game and at least one file");
    parsed.request.game = GameIdFromName(operands.front());
    if (parsed.request.game == kNoGame) return UsageError("unknown game: " + operands.front());
    parsed.request.gameName = AsciiLower(operands.front());
    parsed.request.files.assign(operands.begin() + 1, operands.end());
    parsed.request.command = CliCommand::Add;
    parsed.kind = ParsedCommandLine::Kind::Run;
    return parsed;
}

}  // namespace

int GameIdFromName(const std::string& name) {
    const std::string lower = AsciiLower(name);
    for (const auto& [spelling, id] : kGameNames) {
        if (lower == spelling) return id;
    }
    return kNoGame;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    std::size_t next = 0;

    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        parsed.kind = ParsedCommandLine::Kind::Help;
        return parsed;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        parsed.kind = ParsedCommandLine::Kind::Version;
        return parsed;
    }
    while (next < arguments.size() && arguments[next].starts_with("--")) {
        if (arguments[next] == "--no-wait") {
            parsed.request.noWait = true;
            ++next;
        } else if (arguments[next] == "--settings") {
            if (next + 1 >= arguments.size()) return UsageError("--settings needs a file");
            parsed.request.settingsFile = arguments[next + 1];
            next += 2;
        } else {
            return UsageError("unknown option: " + arguments[next]);
        }
    }
    if (next >= arguments.size()) return UsageError("no command given");
    if (arguments[next] == "detect" || arguments[next] == "add") {
        return ParseFinderCommand(std::move(parsed), arguments, next);
    }
    if (std::optional<ParsedCommandLine> backup =
            ParseBackupCommand(arguments, next, parsed.request)) {
        return *backup;
    }

    const CommandSpelling* command = FindCommand(arguments[next]);
    if (command == nullptr) return UsageError("unknown command: " + arguments[next]);
    ++next;

    const std::size_t operandsWanted = command->takesPackage ? 2 : 1;
    const std::size_t operandsGiven = arguments.size() - next;
    if (operandsGiven < operandsWanted) {
        return UsageError(std::string(command->word) + " needs " +
                          (command->takesPackage ? "a game and a package" : "a game"));
    }
    if (operandsGiven > operandsWanted) {
        return UsageError("too many arguments for " + std::string(command->word));
    }

    const std::string& game = arguments[next];
    parsed.request.game = GameIdFromName(game);
    if (parsed.request.game == kNoGame) return UsageError("unknown game: " + game);
    parsed.request.gameName = AsciiLower(game);
    if (command->takesPackage) parsed.request.packageName = arguments[next + 1];

    parsed.request.command = command->command;
    parsed.kind = ParsedCommandLine::Kind::Run;
    return parsed;
}

}  // namespace wendmoor
