#include "cli/CliProgram.h"

#include <memory>
#include <optional>
#include <ostream>

#include "cli/CliArguments.h"
#include "cli/CliCommandTable.h"
#include "cli/CliCommands.h"
#include "cli/CliText.h"
#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"
#include "platform/SettingsStore.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

bool IsReadableFile(const std::string& file) {
    return ReadOnlyFile().Open(file).Ok();
}

// Only reads: the tool never writes settings.
bool LoadSettings(const std::optional<std::string>& settingsFile, GamePaths& paths,
                  std::ostream& err) {
    std::unique_ptr<SettingsStore> store;
    if (settingsFile) {
        // A missing file would read as eleven empty folders and blame the folders.
        if (!IsReadableFile(*settingsFile)) {
            err << "wendmoor-cli: cannot read the settings file " << *settingsFile << '\n';
            return false;
        }
        store = OpenIniSettingsStore(*settingsFile);
    } else {
        store = OpenDefaultSettingsStore();
    }
    // A value that is present but cannot be used leaves its folder empty; say why.
    for (const std::string& line : LoadGamePaths(paths, *store)) {
        PrintFailure(err, "settings: " + line);
    }
    return true;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    switch (parsed.kind) {
        case ParsedCommandLine::Kind::Help:
            out << CliUsage();
            return kExitSuccess;
        case ParsedCommandLine::Kind::Version:
            out << kCliVersion << '\n';
            return kExitSuccess;
        case ParsedCommandLine::Kind::UsageError:
            err << "wendmoor-cli: " << parsed.usageError << '\n' << CliUsage();
            return kExitUsage;
        case ParsedCommandLine::Kind::Run:
            break;
    }

    GamePaths paths;
    FileSystem fileSystem;
    const CliCommandRow& command = *parsed.command;
    if (command.readsSettings && !LoadSettings(parsed.request.settingsFile, paths, err)) {
        return kExitFailure;
    }
    const int status = command.run(parsed.request, paths, fileSystem, out, err);

    // Output that never arrived (a full disk, a closed pipe) must not pass for success.
    out.flush();
    if (!out) {
        err << "wendmoor-cli: cannot write the output\n";
        return kExitFailure;
    }
    return status;
}

}  // namespace wendmoor
