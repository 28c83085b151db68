#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/CliArguments.h"

namespace wendmoor {

struct GamePaths;
class FileSystem;

// Reads the words after the command's name into the request; what was wrong, one line, if
// anything was.
using CliOperandParser = std::optional<std::string> (*)(const std::string& name,
                                                        const std::vector<std::string>& operands,
                                                        CliRequest& request);

// Runs a parsed command and returns the exit status. Items go to `out`, one a line; reasons for
// failing go to `err`.
using CliHandler = int (*)(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
                           std::ostream& out, std::ostream& err);

// One command of the tool: the word that names it, the operands its usage line shows, how they
// are read and what runs it. The usage text is made from these rows, in their order.
struct CliCommandRow {
    const char* name;
    const char* operands;  // as the usage line shows them
    CliCommand command;    // what the parser sets unless the operands choose another
    bool readsSettings;    // takes --settings and has the game folders loaded before it runs
    CliOperandParser parse;
    CliHandler run;
};

std::span<const CliCommandRow> CliCommandTable();

// The row of the command named exactly `name`; nullptr for no command.
const CliCommandRow* FindCliCommand(const std::string& name);

// The text of --help and of every usage error.
const std::string& CliUsage();

}  // namespace wendmoor
