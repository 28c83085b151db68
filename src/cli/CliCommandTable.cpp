#include "cli/CliCommandTable.h"

#include <array>

#include "cli/CliCommands.h"
#include "cli/CliIntake.h"

namespace wendmoor {

namespace {

constexpr std::array<CliCommandRow, 9> kCommands = {{
    {"list", "GAME", CliCommand::List, true, ParseGameOperand, RunList},
    {"show", "GAME PACKAGE", CliCommand::Show, true, ParsePackageOperands, RunShow},
    {"install", "GAME PACKAGE", CliCommand::Install, true, ParsePackageOperands,
     RunInstallOrDeinstall},
    {"deinstall", "GAME PACKAGE", CliCommand::Deinstall, true, ParsePackageOperands,
     RunInstallOrDeinstall},
    {"refs", "GAME", CliCommand::Refs, true, ParseGameOperand, RunRefs},
    {"add", "GAME FILE... [--install]", CliCommand::Add, true, ParseAddOperands, RunAdd},
    {"detect", "", CliCommand::Detect, false, ParseDetectOperands, RunDetectHere},
    {"backups", "GAME [--remove NAME]", CliCommand::Backups, true, ParseBackupsOperands,
     RunBackups},
    {"restore", "GAME NAME [--force]", CliCommand::Restore, true, ParseRestoreOperands, RunBackups},
}};

// The names line up after [OPTIONS], one column past the longest.
constexpr std::size_t kNameColumn = 10;

const char* const kUsageNotes =
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

std::string UsageLine(const CliCommandRow& row) {
    std::string line = "wendmoor-cli ";
    if (!row.readsSettings) {
        line += row.name;
        if (*row.operands != '\0') line += std::string(" ") + row.operands;
        return line;
    }
    std::string name = row.name;
    name.resize(kNameColumn, ' ');
    return line + "[OPTIONS] " + name + row.operands;
}

std::string MakeUsage() {
    std::string usage;
    for (const CliCommandRow& row : kCommands) {
        usage += (usage.empty() ? "usage: " : "       ") + UsageLine(row) + "\n";
    }
    return usage + "       wendmoor-cli --help | --version\n" + kUsageNotes;
}

}  // namespace

std::span<const CliCommandRow> CliCommandTable() {
    return kCommands;
}

const CliCommandRow* FindCliCommand(const std::string& name) {
    for (const CliCommandRow& row : kCommands) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

const std::string& CliUsage() {
    static const std::string usage = MakeUsage();
    return usage;
}

}  // namespace wendmoor
