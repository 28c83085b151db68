#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliIntake.h"
#include "cli/CliText.h"
#include "games/Games.h"
#include "packages/PackageAdder.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

bool Fail(std::ostream& err, const std::string& reason) {
    PrintFailure(err, reason);
    return false;
}

// Installs what was added, as `install` does, skipping what is installed already.
bool InstallAdded(const GameDescription& game, const std::vector<std::string>& added,
                  GamePaths& paths, FileSystem& fileSystem,
                  const PackageLock::KeepWaiting& keepWaiting, std::ostream& err) {
    PackageSession session(paths, fileSystem, nullptr, keepWaiting);
    if (!session.SelectGame(game.id) || !session.ScanOutcome().Ok()) {
        for (const std::string& line : session.Content()) PrintFailure(err, line);
        return false;
    }
    bool allInstalled = true;
    for (const std::string& name : added) {
        if (Contains(session.Lists().installed, name)) continue;
        const Outcome outcome = session.RunPackageCommand(name, true);
        for (const std::string& line : outcome.Lines()) allInstalled = Fail(err, line);
    }
    return allInstalled;
}

}  // namespace

int RunAdd(const CliRequest& request, GamePaths& paths, FileSystem& fileSystem, std::ostream& out,
           std::ostream& err) {
    const GameDescription* game = FindGame(request.game);
    if (game == nullptr) {
        Fail(err, request.gameName + " is not supported by this build");
        return kExitFailure;
    }
    const std::string& missions = paths.*game->missions;
    // Relative to what? The install's scan stands in the missions folder.
    if (!IsAbsolutePath(missions)) {
        Fail(err, std::string("the missions folder of ") + game->name +
                      (missions.empty() ? " is not set" : " is not an absolute path: " + missions));
        return kExitFailure;
    }

    const PackageLock::KeepWaiting keepWaiting = KeepWaitingFor(request);
    bool allAdded = true;
    std::vector<std::string> added;
    for (const std::string& file : request.files) {
        // No one to ask: a same-named file with other bytes is always kept beside the new one.
        const AddResult result = AddPackageFile(
            fileSystem, *game, paths, file, [](const auto&, const auto&) { return true; },
            keepWaiting);
        if (result.done != AddResult::Done::Nothing) {
            out << PrintableName(result.name) << '\n';
            added.push_back(result.name);
        }
        for (const std::string& line : result.outcome.Lines()) allAdded = Fail(err, line);
    }
    const bool allInstalled = !request.installAdded || added.empty() ||
                              InstallAdded(*game, added, paths, fileSystem, keepWaiting, err);
    return allAdded && allInstalled ? kExitSuccess : kExitFailure;
}

}  // namespace wendmoor
