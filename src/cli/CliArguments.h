#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wendmoor {

enum class CliCommand {
    List,
    Show,
    Install,
    Deinstall,
    Refs,
    // Finding games and adding packages (CliDetect.cpp, CliAdd.cpp).
    Detect,
    Add,
    // The backups of the player's files (CliBackups.cpp).
    Backups,
    Restore,
    RemoveBackup,
};

// One run of the command-line tool: which game, what to do, and with which package.
struct CliRequest {
    std::optional<std::string> settingsFile;  // absent: the program's own settings store
    bool noWait = false;  // fail at once instead of waiting for another process's command
    CliCommand command = CliCommand::List;
    int game = 0;                    // a GameId
    std::string gameName;            // as the command line names it, lower case: "caesar3"
    std::string packageName;         // the exact bytes of the archive's file name
    std::vector<std::string> files;  // add: the files to add, as given
    bool installAdded = false;       // add --install
    // Restore and RemoveBackup: the backup's name; Restore also replaces files changed since.
    std::string backupName;
    bool force = false;
};

struct CliCommandRow;

struct ParsedCommandLine {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::UsageError;
    const CliCommandRow* command = nullptr;  // for Run: the table's row that runs it
    CliRequest request;                      // for Run
    std::string usageError;                  // for UsageError: what was wrong, one line
};

// The arguments after the program name, as raw bytes. Nothing after the command is taken for
// an option, so a package whose name begins with "-" can still be named.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The GameId of a game as the command line names it, letter case ignored; 0 when unknown.
int GameIdFromName(const std::string& name);

extern const std::string kCliVersion;

// The operand readers of the command table (see CliOperandParser): each fills the request from
// the words after the command's name or says, in one line, what is wrong with them.
// "GAME": list, refs.
std::optional<std::string> ParseGameOperand(const std::string& name,
                                            const std::vector<std::string>& operands,
                                            CliRequest& request);
// "GAME PACKAGE": show, install, deinstall.
std::optional<std::string> ParsePackageOperands(const std::string& name,
                                                const std::vector<std::string>& operands,
                                                CliRequest& request);
// "GAME FILE... [--install]": only the last word can be --install.
std::optional<std::string> ParseAddOperands(const std::string& name,
                                            const std::vector<std::string>& operands,
                                            CliRequest& request);
// Nothing, and no settings file either.
std::optional<std::string> ParseDetectOperands(const std::string& name,
                                               const std::vector<std::string>& operands,
                                               CliRequest& request);
// "GAME [--remove NAME]" and "GAME NAME [--force]". Backup names never start with "-", so the
// options after them cannot be mistaken for one.
std::optional<std::string> ParseBackupsOperands(const std::string& name,
                                                const std::vector<std::string>& operands,
                                                CliRequest& request);
std::optional<std::string> ParseRestoreOperands(const std::string& name,
                                                const std::vector<std::string>& operands,
                                                CliRequest& request);

}  // namespace wendmoor
