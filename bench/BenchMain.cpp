// Times the package flow on a synthetic collection and prints the table bench/README.md
// describes. Run it through scripts/bench.sh; "--smoke" runs every step on tiny sizes.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Baselines.h"
#include "Collection.h"
#include "Measure.h"
#ifdef WENDMOOR_BENCH_WINDOW
#include "WindowRefresh.h"
#endif
#include "packages/Games.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"

using namespace wendmoor;
using namespace wendmoor::bench;

namespace {

struct Settings {
    std::vector<int> collectionSizes{100, 1000, 10000};
    int manyEntries = 10000;
    int fewerEntries = 1000;
    int largeMegabytes = 200;
    int installRepeats = 2;
};

std::string SizeRoot(const std::string& root, int count) {
    return root + "n" + std::to_string(count) + "/";
}

int RepeatsFor(int packages) {
    return std::clamp(20000 / std::max(packages, 1), 2, 50);
}

// One refresh of a game as the window does it, the fastest of a few; seconds per refresh.
Measurement TimeRefresh(const std::string& sizeRoot, int game, int count) {
    return RunInChild([&]() -> double {
        GamePaths paths = CollectionPaths(sizeRoot);
        FileSystem fileSystem;
        PackageSession session(paths, fileSystem, nullptr);
        bool right = true;
        const double seconds = FastestOf(RepeatsFor(count), [&] {
            right = session.SelectGame(game) &&
                    session.Lists().installed.size() == static_cast<std::size_t>((count + 1) / 2) &&
                    session.Lists().available.size() == static_cast<std::size_t>(count / 2);
        });
        return right ? seconds : -1;
    });
}

// The slowest game's refresh in the main window, lists filled; not ok when the window is not
// part of the build.
Measurement TimeWorstWindowRefresh(const std::string& sizeRoot, int count) {
    Measurement worst;
#ifdef WENDMOOR_BENCH_WINDOW
    worst.ok = true;
    for (int game = kCaesar3; game <= kEmperor; ++game) {
        const Measurement one = RunInChild([&] {
            return TimeWindowRefresh(CollectionPaths(sizeRoot), game, RepeatsFor(count),
                                     (count + 1) / 2, count / 2);
        });
        worst.ok = worst.ok && one.ok;
        worst.seconds = std::max(worst.seconds, one.seconds);
        worst.peakRssKiB = std::max(worst.peakRssKiB, one.peakRssKiB);
    }
#else
    (void)sizeRoot;
    (void)count;
#endif
    return worst;
}

double PerPackageMicros(double seconds, int count) {
    return seconds * 1e6 / count;
}

void PrintRefreshTable(const std::string& root, const Settings& settings) {
    std::printf(
        "\nRefresh (PackageSession::SelectGame: scan, existence tests, reference counts,\n"
        "sorted lists), microseconds per package; half the packages installed\n\n");
    std::printf("%8s %9s %9s %9s %9s %9s %9s %9s %9s %10s %9s %10s\n", "packages", "floor",
                "python", "Caesar3", "Pharao", "Zeus", "Emperor", "worst/flr", "py/worst",
                "peakRSS", "window", "winRSS");
    std::vector<double> worstPerPackage;
    for (const int count : settings.collectionSizes) {
        const std::string sizeRoot = SizeRoot(root, count);
        const std::string missions = CollectionPaths(sizeRoot).caesar3_missions;
        const Measurement floor = RunInChild(
            [&] { return FastestOf(RepeatsFor(count), [&] { OpenAndReadTailFloor(missions); }); });
        double python = PythonZipfileListing(missions);
        python = std::min(python, PythonZipfileListing(missions));
        double worst = 0;
        long peak = 0;
        std::printf("%8d %9.2f %9.2f", count, PerPackageMicros(floor.seconds, count),
                    PerPackageMicros(python, count));
        for (int game = kCaesar3; game <= kEmperor; ++game) {
            const Measurement refresh = TimeRefresh(sizeRoot, game, count);
            if (!refresh.ok) {
                std::printf(" %9s", "FAILED");
                continue;
            }
            worst = std::max(worst, refresh.seconds);
            peak = std::max(peak, refresh.peakRssKiB);
            std::printf(" %9.2f", PerPackageMicros(refresh.seconds, count));
        }
        std::printf(" %8.2fx %8.2fx %6ld KiB", worst / floor.seconds, python / worst, peak);
        const Measurement window = TimeWorstWindowRefresh(sizeRoot, count);
        if (window.ok) {
            std::printf(" %9.2f %6ld KiB\n", PerPackageMicros(window.seconds, count),
                        window.peakRssKiB);
        } else {
            std::printf(" %9s\n", "n/a");
        }
        worstPerPackage.push_back(worst / count);
    }
    if (worstPerPackage.size() >= 2) {
        const std::size_t last = worstPerPackage.size() - 1;
        std::printf("time per package, largest vs next size (worst game): %.2fx\n",
                    worstPerPackage[last] / worstPerPackage[last - 1]);
    }
}

// Counts the system calls of one refresh with strace, when it is installed.
void PrintSyscallProbe(const std::string& root, const Settings& settings) {
    if (::access("/usr/bin/strace", X_OK) != 0) return;
    const int count = settings.collectionSizes[settings.collectionSizes.size() > 1 ? 1 : 0];
    const std::string sizeRoot = SizeRoot(root, count);
    const std::string log = root + "strace.log";
    std::printf(
        "\nSystem calls of one refresh of %d packages (strace; process start "
        "subtracted)\n",
        count);
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return;
    self[length] = '\0';
    // The lines strace logs for one refresh that pass the filter.
    auto countLines = [&](int game, const char* filter) -> long {
        const std::string trace = "/usr/bin/strace -f -qq -o " + log + " " + self +
                                  " --probe-refresh " + sizeRoot + " " + std::to_string(game) +
                                  " >/dev/null 2>&1";
        if (std::system(trace.c_str()) != 0) return -1;
        const std::string grep = "cat " + log + " | " + filter + " | wc -l";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(grep.c_str(), "r"), ::pclose);
        long lines = -1;
        if (!pipe || std::fscanf(pipe.get(), "%ld", &lines) != 1) return -1;
        return lines;
    };
    // Every call; and the folders opened for listing, failed opens (a folder that does not
    // exist) left out.
    const char* kCalls = "cat";
    const char* kListings = "grep -v ' = -1 ' | grep O_DIRECTORY";
    const long baseCalls = countLines(0, kCalls);
    const long baseListings = countLines(0, kListings);
    std::printf("%10s %14s %16s\n", "game", "calls/package", "folders listed");
    for (int game = kCaesar3; game <= kEmperor; ++game) {
        const long calls = countLines(game, kCalls);
        const long listings = countLines(game, kListings);
        std::printf("%10s %14.1f %16ld\n", FindGame(game)->name,
                    static_cast<double>(calls - baseCalls) / count, listings - baseListings);
    }
    RemoveTree(log);
}

void PrintContentAndExtraction(const std::string& root, const Settings& settings) {
    const std::string contentRoot = root + "content/";
    if (!MakeCollectionFolders(contentRoot) ||
        !WriteManyEntryPackage(contentRoot, "many.zip", settings.manyEntries) ||
        !WriteManyEntryPackage(contentRoot, "fewer.zip", settings.fewerEntries)) {
        std::printf("could not build the many-entry packages\n");
        return;
    }
    const Measurement content = RunInChild([&]() -> double {
        GamePaths paths = CollectionPaths(contentRoot);
        FileSystem fileSystem;
        PackageSession session(paths, fileSystem, nullptr);
        if (!session.SelectGame(kCaesar3)) return -1;
        const double seconds = FastestOf(5, [&] { session.ShowPackageContent("many.zip"); });
        return session.Content().size() == static_cast<std::size_t>(settings.manyEntries) ? seconds
                                                                                          : -1;
    });
    std::printf("\nContent display of one package of %d entries: %.1f ms (peak RSS %ld KiB)\n",
                settings.manyEntries, content.seconds * 1e3, content.peakRssKiB);

    auto installEvery = [&](const char* name) {
        return RunInChild([&]() -> double {
            GamePaths paths = CollectionPaths(contentRoot);
            FileSystem fileSystem;
            PackageSession session(paths, fileSystem, nullptr);
            if (!session.SelectGame(kCaesar3)) return -1;
            const Stopwatch watch;
            if (!session.RunPackageCommand(name, true).Ok() ||
                session.Lists().installed.size() != 1) {
                return -1;
            }
            const double seconds = watch.Seconds();
            (void)session.RunPackageCommand(name, false);
            return seconds;
        });
    };
    const Measurement fewer = installEvery("fewer.zip");
    const Measurement many = installEvery("many.zip");
    const double fewerPerEntry = fewer.seconds * 1e6 / settings.fewerEntries;
    const double manyPerEntry = many.seconds * 1e6 / settings.manyEntries;
    std::printf(
        "Install extracting every entry: %d entries %.1f us/entry (peak %ld KiB), "
        "%d entries %.1f us/entry (peak %ld KiB); ratio %.2fx\n",
        settings.fewerEntries, fewerPerEntry, fewer.peakRssKiB, settings.manyEntries, manyPerEntry,
        many.peakRssKiB, manyPerEntry / fewerPerEntry);
}

void PrintLargeInstall(const std::string& root, const Settings& settings) {
    const std::string largeRoot = root + "large/";
    if (!MakeCollectionFolders(largeRoot)) return;
    // Built in a child, so the archive held in memory leaves this process small.
    const Measurement built = RunInChild([&]() -> double {
        return static_cast<double>(
            WriteLargePackage(largeRoot, "large.zip", settings.largeMegabytes));
    });
    const double bytes = built.seconds;
    if (!built.ok || bytes <= 0) {
        std::printf("could not build the large package\n");
        return;
    }
    const std::string archive = CollectionPaths(largeRoot).caesar3_missions + "large.zip";
    double install = 1e30, deinstall = 1e30, unzip = 1e30;
    long peak = 0;
    for (int round = 0; round < settings.installRepeats; ++round) {
        unzip = std::min(unzip, UnzipExtract(archive, largeRoot + "unzipped/"));
        double deinstallSeconds = -1;
        const Measurement installed = RunInChild([&]() -> double {
            GamePaths paths = CollectionPaths(largeRoot);
            FileSystem fileSystem;
            PackageSession session(paths, fileSystem, nullptr);
            if (!session.SelectGame(kCaesar3)) return -1;
            const Stopwatch watch;
            if (!session.RunPackageCommand("large.zip", true).Ok() ||
                session.Lists().installed.size() != 1) {
                return -1;
            }
            return watch.Seconds();
        });
        const Measurement removed = RunInChild([&]() -> double {
            GamePaths paths = CollectionPaths(largeRoot);
            FileSystem fileSystem;
            PackageSession session(paths, fileSystem, nullptr);
            if (!session.SelectGame(kCaesar3)) return -1;
            const Stopwatch watch;
            if (!session.RunPackageCommand("large.zip", false).Ok() ||
                session.Lists().available.size() != 1) {
                return -1;
            }
            return watch.Seconds();
        });
        if (!installed.ok || !removed.ok) {
            std::printf("large install or deinstall FAILED\n");
            return;
        }
        deinstallSeconds = removed.seconds;
        install = std::min(install, installed.seconds);
        deinstall = std::min(deinstall, deinstallSeconds);
        peak = std::max(peak, installed.peakRssKiB);
    }
    const double megabytes = bytes / (1024.0 * 1024.0);
    std::printf("\nOne package of %.0f MB (uncompressed; best of %d)\n", megabytes,
                settings.installRepeats);
    std::printf("  install    %8.1f MB/s  (peak RSS %ld KiB)\n", megabytes / install, peak);
    std::printf("  deinstall  %8.1f MB/s\n", megabytes / deinstall);
    if (unzip > 0 && unzip < 1e30) {
        std::printf("  unzip -o -q %7.1f MB/s  -> install is %.2fx unzip\n", megabytes / unzip,
                    unzip / install);
    }
}

// Run under strace by PrintSyscallProbe: one refresh of a game (0: none, for the baseline).
int ProbeRefresh(const std::string& sizeRoot, int game) {
    GamePaths paths = CollectionPaths(sizeRoot);
    FileSystem fileSystem;
    PackageSession session(paths, fileSystem, nullptr);
    if (game != 0) session.SelectGame(game);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--probe-refresh") == 0) {
        return ProbeRefresh(argv[2], std::atoi(argv[3]));
    }
    Settings settings;
    if (argc >= 2 && std::strcmp(argv[1], "--smoke") == 0) {
        settings.collectionSizes = {10, 40};
        settings.manyEntries = 200;
        settings.fewerEntries = 20;
        settings.largeMegabytes = 4;
        settings.installRepeats = 1;
    }

    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base ? base : "/tmp") + "/wendmoor-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = pattern + "/";
    std::printf("Wendmoor benchmark in %s\n", root.c_str());

    const Stopwatch setup;
    for (const int count : settings.collectionSizes) {
        if (!BuildPackageCollection(SizeRoot(root, count), count)) {
            std::printf("could not build the collection of %d packages\n", count);
            RemoveTree(root);
            return 1;
        }
    }
    std::printf("collections built in %.1f s\n", setup.Seconds());

    PrintRefreshTable(root, settings);
    PrintSyscallProbe(root, settings);
    PrintContentAndExtraction(root, settings);
    PrintLargeInstall(root, settings);
    RemoveTree(root);
    return 0;
}
