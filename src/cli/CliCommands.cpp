#include "cli/CliCommands.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliBackups.h"
#include "packages/Games.h"
#include "packages/PackageSession.h"
#include "platform/BackupLocation.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

constexpr const char* kInstalledListName = "Installed Missions";
constexpr const char* kAvailableListName = "Available Missions";

bool Contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

void PrintLists(const PackageLists& lists, std::ostream& out) {
    for (const std::string& name : lists.installed) out << "I " << name << '\n';
    for (const std::string& name : lists.available) out << "A " << name << '\n';
}

void PrintRefs(const FileRefCounts& refs, std::ostream& out) {
    for (const auto& [key, count] : refs.Snapshot()) out << count << ' ' << key << '\n';
}

int Fail(std::ostream& err, const std::string& reason) {
    err << "wendmoor-cli: " << reason << '\n';
    return kExitFailure;
}

int ShowContent(PackageSession& session, const CliRequest& request, std::ostream& out,
                std::ostream& err) {
    const PackageLists& lists = session.Lists();
    const std::string& name = request.packageName;
    if (!Contains(lists.installed, name) && !Contains(lists.available, name)) {
        return Fail(err,
                    name + " is in neither " + kInstalledListName + " nor " + kAvailableListName);
    }
    session.ShowPackageContent(name);
    // A listed package always holds something to show; nothing means the archive went away
    // or broke since the scan.
    if (session.Content().empty()) return Fail(err, name + " can no longer be read");
    for (const std::string& line : session.Content()) out << line << '\n';
    return kExitSuccess;
}

int InstallOrDeinstall(PackageSession& session, const CliRequest& request, std::ostream& out,
                       std::ostream& err) {
    const bool install = request.command == CliCommand::Install;
    const std::string& name = request.packageName;
    const std::vector<std::string>& source =
        install ? session.Lists().available : session.Lists().installed;
    if (!Contains(source, name)) {
        return Fail(err,
                    name + " is not in " + (install ? kAvailableListName : kInstalledListName));
    }
    const Outcome outcome = session.RunPackageCommand(name, install);
    PrintLists(session.Lists(), out);
    PrintKept(session.Kept(), err);
    for (const std::string& line : outcome.Lines()) Fail(err, line);
    return outcome.Ok() ? kExitSuccess : kExitFailure;
}

const char* FieldNameOf(std::string GamePaths::*member) {
    for (const GamePathField& field : kGamePathFields) {
        if (field.member == member) return field.name;
    }
    return "?";
}

// The scan makes the missions folder the current folder, so a relative folder would name a
// different place for the scan than for the install. The window only ever stores absolute
// folders; a hand-written settings file may not.
bool CheckFoldersAbsolute(const GameDescription& game, const GamePaths& paths, std::ostream& err) {
    for (std::string GamePaths::*member : {game.missions, game.gameFolder, game.saves}) {
        if (member == nullptr) continue;
        const std::string& folder = paths.*member;
        if (folder.empty() || IsAbsolutePath(folder)) continue;
        Fail(err, std::string("the folder ") + FieldNameOf(member) +
                      " is not an absolute path: " + folder);
        return false;
    }
    return true;
}

}  // namespace

int RunOnSelectedGame(PackageSession& session, const CliRequest& request, std::ostream& out,
                      std::ostream& err) {
    switch (request.command) {
        case CliCommand::List:
            PrintLists(session.Lists(), out);
            return kExitSuccess;
        case CliCommand::Show:
            return ShowContent(session, request, out, err);
        case CliCommand::Install:
        case CliCommand::Deinstall:
            return InstallOrDeinstall(session, request, out, err);
        case CliCommand::Refs:
            PrintRefs(session.FileRefs(), out);
            return kExitSuccess;
        case CliCommand::Detect:  // no selected game: RunCommandLine runs these itself
        case CliCommand::Add:
            break;
        case CliCommand::Backups:
        case CliCommand::Restore:
        case CliCommand::RemoveBackup:
            return RunBackupCommand(request, session.BackupStoreFolder(),
                                    session.CurrentRestoreFolders(), {}, out, err);
    }
    return kExitFailure;
}

int RunCliRequest(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
                  std::ostream& out, std::ostream& err) {
    const GameDescription* game = FindGame(request.game);
    if (game == nullptr) return Fail(err, request.gameName + " is not supported by this build");
    PackageLock::KeepWaiting keepWaiting;
    if (request.noWait) keepWaiting = [](std::chrono::milliseconds) { return false; };
    if (IsBackupCommand(request.command)) {
        return RunBackupCommand(request, DefaultBackupStoreFolder(), game->restoreFolders(paths),
                                keepWaiting, out, err);
    }
    if (!CheckFoldersAbsolute(*game, paths, err)) return kExitFailure;

    // No askForFolders: the tool never opens the options dialog.
    PackageSession session(paths, fileSystem, nullptr, keepWaiting);
    if (!session.SelectGame(game->id) || !session.ScanOutcome().Ok()) {
        // The game's own message line, exactly as the window shows it, or what kept the scan
        // from reading the packages: an empty list must not pass for a folder without any.
        for (const std::string& line : session.Content()) err << line << '\n';
        return kExitFailure;
    }
    return RunOnSelectedGame(session, request, out, err);
}

}  // namespace wendmoor
