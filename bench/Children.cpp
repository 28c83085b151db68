#include "Children.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Baselines.h"
#include "Collection.h"
#include "Measure.h"
#include "games/Games.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"

namespace wendmoor::bench {

namespace {

int Report(double seconds) {
    return ReportResult(seconds);
}

// floor MISSIONS REPEATS
int Floor(const std::string& missions, int repeats) {
    bool right = true;
    const double seconds =
        FastestOf(repeats, [&] { right = OpenAndReadTailFloor(missions) >= 0 && right; });
    return Report(right ? seconds : -1);
}

// refresh ROOT GAME REPEATS PACKAGES: half of them installed.
int Refresh(const std::string& root, int game, int repeats, int packages) {
    GamePaths paths = CollectionPaths(root);
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, nullptr);
    bool right = true;
    const double seconds = FastestOf(repeats, [&] {
        right = session.SelectGame(game) &&
                session.Lists().installed.size() == static_cast<std::size_t>((packages + 1) / 2) &&
                session.Lists().available.size() == static_cast<std::size_t>(packages / 2) && right;
    });
    return Report(right ? seconds : -1);
}

// install ROOT NAME: a Caesar III package into the game folders of ROOT.
int Install(const std::string& root, const std::string& name) {
    GamePaths paths = CollectionPaths(root);
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, nullptr);
    if (!session.SelectGame(kCaesar3)) return Report(-1);
    const Stopwatch watch;
    const Outcome installed = session.RunPackageCommand(name, true);
    const double seconds = watch.Seconds();
    return Report(installed.Ok() && session.Lists().installed.size() == 1 ? seconds : -1);
}

// content ROOT NAME REPEATS ENTRIES
int Content(const std::string& root, const std::string& name, int repeats, int entries) {
    GamePaths paths = CollectionPaths(root);
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, nullptr);
    if (!session.SelectGame(kCaesar3)) return Report(-1);
    const double seconds = FastestOf(repeats, [&] { session.ShowPackageContent(name); });
    return Report(session.Content().size() == static_cast<std::size_t>(entries) ? seconds : -1);
}

}  // namespace

int RunChild(int argc, char** argv) {
    const auto arg = [&](int i) { return std::string(i < argc ? argv[i] : ""); };
    const auto number = [&](int i) { return std::atoi(i < argc ? argv[i] : "0"); };
    const std::string what = arg(2);
    if (what == "nothing") return Report(0);
    if (what == "floor") return Floor(arg(3), number(4));
    if (what == "refresh") return Refresh(arg(3), number(4), number(5), number(6));
    if (what == "install") return Install(arg(3), arg(4));
    if (what == "content") return Content(arg(3), arg(4), number(5), number(6));
    // build ROOT PACKAGES: a collection to profile against
    if (what == "build") return Report(BuildPackageCollection(arg(3), number(4)) ? 0 : -1);
    return 2;
}

}  // namespace wendmoor::bench
