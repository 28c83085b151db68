#include "cli/CliCommands.h"

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliBackups.h"
#include "cli/CliText.h"
#include "games/Games.h"
#include "packages/CommandFolders.h"
#include "packages/PackageSession.h"
#include "platform/BackupLocation.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

constexpr const char* kInstalledListName = "Installed Missions";
constexpr const char* kAvailableListName = "Available Missions";

void PrintLists(const PackageLists& lists, std::ostream& out) {
    for (const std::string& name : lists.installed) out << "I " << PrintableName(name) << '\n';
    for (const std::string& name : lists.available) out << "A " << PrintableName(name) << '\n';
}

void PrintRefs(const FileRefCounts& refs, std::ostream& out) {
    for (const auto& [key, count] : refs.Snapshot())
        out << count << ' ' << PrintableName(key) << '\n';
}

int Fail(std::ostream& err, const std::string& reason) {
    PrintFailure(err, reason);
    return kExitFailure;
}

int FailWith(const Outcome& outcome, std::ostream& err) {
    for (const std::string& line : outcome.Lines()) Fail(err, line);
    return kExitFailure;
}

// A listing that leaves out a package it could not read is not the whole truth: the package is
// named and the command fails, after the lists it could read.
int ListsRead(const PackageSession& session, std::ostream& err) {
    return session.Lists().unreadable.Ok() ? kExitSuccess
                                           : FailWith(session.Lists().unreadable, err);
}

int ShowContent(PackageSession& session, const CliRequest& request, std::ostream& out,
                std::ostream& err) {
    const PackageLists& lists = session.Lists();
    const std::string& name = request.packageName;
    if (!Contains(lists.installed, name) && !Contains(lists.available, name)) {
        if (const Outcome unreadable = session.WhyUnreadable(name); !unreadable.Ok()) {
            return FailWith(unreadable, err);
        }
        return Fail(err,
                    name + " is in neither " + kInstalledListName + " nor " + kAvailableListName);
    }
    session.ShowPackageContent(name);
    // A listed package always holds something to show; nothing means the archive went away
    // or broke since the scan.
    if (session.Content().empty()) return Fail(err, name + " can no longer be read");
    for (const std::string& line : session.Content()) out << PrintableName(line) << '\n';
    return kExitSuccess;
}

int InstallOrDeinstall(PackageSession& session, const CliRequest& request, std::ostream& out,
                       std::ostream& err) {
    const bool install = request.command == CliCommand::Install;
    const std::string& name = request.packageName;
    const std::vector<std::string>& source =
        install ? session.Lists().available : session.Lists().installed;
    if (!Contains(source, name)) {
        if (const Outcome unreadable = session.WhyUnreadable(name); !unreadable.Ok()) {
            return FailWith(unreadable, err);
        }
        return Fail(err,
                    name + " is not in " + (install ? kAvailableListName : kInstalledListName));
    }
    // No one to ask: the install goes on, and the packages whose map it changes are named.
    if (install) {
        for (const std::string& user : session.PackagesLosingSharedFiles(name)) {
            PrintFailure(err, name + " changes the map that " + user +
                                  " uses; the map in place is kept in a backup");
        }
    }
    const Outcome outcome = session.RunPackageCommand(name, install);
    PrintLists(session.Lists(), out);
    PrintKept(session.Kept(), err);
    for (const std::string& line : outcome.Lines()) Fail(err, line);
    return outcome.Ok() ? kExitSuccess : kExitFailure;
}

int ListPackages(PackageSession& session, const CliRequest&, std::ostream& out, std::ostream& err) {
    PrintLists(session.Lists(), out);
    return ListsRead(session, err);
}

int ListRefs(PackageSession& session, const CliRequest&, std::ostream& out, std::ostream& err) {
    PrintRefs(session.FileRefs(), out);
    return ListsRead(session, err);
}

using SessionCommand = int (*)(PackageSession&, const CliRequest&, std::ostream&, std::ostream&);

// Does what choosing the game in the window does, never asking for folders, then runs the
// command on the session.
int OnSelectedGame(SessionCommand command, const CliRequest& request, GamePaths& paths,
                   FileSystem& fileSystem, std::ostream& out, std::ostream& err) {
    const GameDescription* game = FindGame(request.game);
    if (game == nullptr) return Fail(err, request.gameName + " is not supported by this build");
    PackageSession session(paths, fileSystem, nullptr, KeepWaitingFor(request));
    if (!session.SelectGame(game->id) || !session.ScanOutcome().Ok()) {
        // The game's own message line, what keeps its folders from being used, or what kept
        // the scan from reading the packages: an empty list must not pass for a folder
        // without any.
        for (const std::string& line : session.Content()) PrintFailure(err, line);
        return kExitFailure;
    }
    return command(session, request, out, err);
}

}  // namespace

PackageLock::KeepWaiting KeepWaitingFor(const CliRequest& request) {
    if (!request.noWait) return {};
    return [](std::chrono::milliseconds) { return false; };
}

int RunList(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
            std::ostream& err) {
    return OnSelectedGame(ListPackages, request, paths, fileSystem, out, err);
}

int RunShow(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
            std::ostream& err) {
    return OnSelectedGame(ShowContent, request, paths, fileSystem, out, err);
}

int RunInstallOrDeinstall(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
                          std::ostream& out, std::ostream& err) {
    return OnSelectedGame(InstallOrDeinstall, request, paths, fileSystem, out, err);
}

int RunRefs(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
            std::ostream& err) {
    return OnSelectedGame(ListRefs, request, paths, fileSystem, out, err);
}

int RunBackups(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem,
               std::ostream& out, std::ostream& err) {
    const GameDescription* game = FindGame(request.game);
    if (game == nullptr) return Fail(err, request.gameName + " is not supported by this build");
    return RunBackupCommand(request, DefaultBackupStoreFolder(),
                            GameFolders(*game, paths, fileSystem), RestoreFoldersOf(*game, paths),
                            KeepWaitingFor(request), out, err);
}

}  // namespace wendmoor
