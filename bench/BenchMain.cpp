// Times the package flow on a synthetic collection and prints the tables bench/README.md
// describes. Run it through scripts/bench.sh; "--help" tells the options.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Baselines.h"
#include "Children.h"
#include "Collection.h"
#include "Measure.h"
#include "games/Games.h"

using namespace wendmoor;
using namespace wendmoor::bench;

namespace {

const char kUsage[] =
    "usage: wendmoor_bench [--smoke] [--keep] [--help]\n"
    "\n"
    "Builds a synthetic collection in a fresh folder under $TMPDIR (default /tmp) and prints:\n"
    "  refresh     each game's refresh of 100, 1,000 and 10,000 packages as a whole process\n"
    "              and in-process, beside the floor (list, open, read the tail) measured the\n"
    "              same ways, Python's zipfile listing, the window, and peak memory per package\n"
    "  syscalls    system calls per package of one refresh (when strace is installed)\n"
    "  extraction  installing 1,000 and 10,000 tiny entries and one package of 200 MB into\n"
    "              fresh folders, with and without the flushes to disk, beside unzip into a\n"
    "              fresh folder, in turns\n"
    "\n"
    "  --smoke  every step on tiny sizes, a few seconds\n"
    "  --keep   keep the collection and print its folder (for profiling)\n"
    "  --help   this text\n";

struct Settings {
    std::vector<int> collectionSizes{100, 1000, 10000};
    std::vector<int> entryCounts{1000, 10000};
    int largeMegabytes = 200;
    int processRepeats = 5;
    int installRepeats = 3;
    bool keep = false;
};

std::string self;
std::string windowProgram;
std::string noSyncLibrary;

std::string SizeRoot(const std::string& root, int count) {
    return root + "n" + std::to_string(count) + "/";
}

int InProcessRepeats(int packages) {
    return std::clamp(20000 / std::max(packages, 1), 3, 50);
}

std::vector<std::string> Child(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {self, "--run"});
    return arguments;
}

double Micros(double seconds, int count) {
    return seconds * 1e6 / count;
}

void PrintLoad(const char* when) {
    std::printf("[load average %s: %.2f]\n", when, LoadAverage());
}

// Peak memory of a process that does nothing: what every measured process starts with.
long BaselineRssKiB() {
    return FastestRun(3, Child({"nothing"})).peakRssKiB;
}

void PrintRefreshTable(const std::string& root, const Settings& settings) {
    std::printf(
        "\nRefresh (PackageSession::SelectGame: scan, existence tests, reference counts, sorted\n"
        "lists), microseconds per package, half the packages installed. \"process\": a fresh\n"
        "process doing one refresh, start to exit, fastest of %d; \"in\": fastest of several\n"
        "refreshes inside one process. The floor is measured the same two ways. Python: its\n"
        "zipfile listing, timed inside the interpreter. KB/pkg: peak memory of the refresh\n"
        "process above that of a process doing nothing, per package (worst game). window: the\n"
        "refresh in the main window, in-process, worst game, on the offscreen platform in a\n"
        "program of its own; win-MB: its peak memory.\n\n",
        settings.processRepeats);
    std::printf("%8s %9s %8s %8s | %9s %9s %9s %9s | %8s %8s %8s | %7s %8s\n", "packages", "floor",
                "flr-in", "python", "Caesar3", "Pharao", "Zeus", "Emperor", "worst/fl", "in/fl-in",
                "py/worst", "KB/pkg", "window");
    const long baseline = BaselineRssKiB();
    std::vector<double> worstPerPackage;
    for (const int count : settings.collectionSizes) {
        const std::string sizeRoot = SizeRoot(root, count);
        const std::string missions = CollectionPaths(sizeRoot).caesar3_missions;
        const std::string packages = std::to_string(count);
        const std::string repeats = std::to_string(InProcessRepeats(count));
        const ProcessRun floor =
            FastestRun(settings.processRepeats, Child({"floor", missions, "1"}));
        const ProcessRun floorIn = RunProcess(Child({"floor", missions, repeats}));
        ProcessRun python = FastestRun(2, PythonListingCommand(missions));
        std::printf("%8d %9.2f %8.2f %8.2f |", count, Micros(floor.wallSeconds, count),
                    Micros(floorIn.timedSeconds, count),
                    python.ok ? Micros(python.timedSeconds, count) : -1.0);
        double worst = 0, worstIn = 0;
        long peak = 0;
        for (int game = kCaesar3; game <= kEmperor; ++game) {
            const std::string id = std::to_string(game);
            const ProcessRun whole = FastestRun(settings.processRepeats,
                                                Child({"refresh", sizeRoot, id, "1", packages}));
            const ProcessRun in = RunProcess(Child({"refresh", sizeRoot, id, repeats, packages}));
            if (!whole.ok || !in.ok) {
                std::printf(" %9s", "FAILED");
                continue;
            }
            worst = std::max(worst, whole.wallSeconds);
            worstIn = std::max(worstIn, in.timedSeconds);
            peak = std::max(peak, whole.peakRssKiB);
            std::printf(" %9.2f", Micros(whole.wallSeconds, count));
        }
        std::printf(" | %7.2fx %7.2fx %7.2fx | %7.2f", worst / floor.wallSeconds,
                    worstIn / floorIn.timedSeconds, python.timedSeconds / worst,
                    static_cast<double>(peak - baseline) * 1.024 / count);
        double window = 0;
        long windowPeak = 0;
        bool windowOk = !windowProgram.empty();
        for (int game = kCaesar3; windowOk && game <= kEmperor; ++game) {
            const ProcessRun run =
                RunProcess({windowProgram, sizeRoot, std::to_string(game), repeats, packages},
                           {"QT_QPA_PLATFORM=offscreen"});
            windowOk = run.ok;
            window = std::max(window, run.timedSeconds);
            windowPeak = std::max(windowPeak, run.peakRssKiB);
        }
        if (windowOk) {
            std::printf(" %8.2f %7.1f\n", Micros(window, count),
                        static_cast<double>(windowPeak) / 1024.0);
        } else {
            std::printf(" %8s\n", "n/a");
        }
        worstPerPackage.push_back(worst / count);
    }
    if (worstPerPackage.size() >= 2) {
        const std::size_t last = worstPerPackage.size() - 1;
        std::printf("time per package (whole process, worst game), largest vs next size: %.2fx\n",
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
        "\nSystem calls of one refresh of %d packages (strace -f; a process doing nothing "
        "subtracted)\n",
        count);
    auto countLines = [&](const std::vector<std::string>& child, const char* filter) -> long {
        std::string trace = "/usr/bin/strace -f -qq -o " + log;
        for (const std::string& argument : child) trace += " " + argument;
        trace += " >/dev/null 2>&1";
        if (std::system(trace.c_str()) != 0) return -1;
        const std::string grep = "cat " + log + " | " + filter + " | wc -l";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(grep.c_str(), "r"), ::pclose);
        long lines = -1;
        if (!pipe || std::fscanf(pipe.get(), "%ld", &lines) != 1) return -1;
        return lines;
    };
    // Every call; and the folders opened for listing, failed opens left out.
    const char* kCalls = "cat";
    const char* kListings = "grep -v ' = -1 ' | grep O_DIRECTORY";
    const long baseCalls = countLines(Child({"nothing"}), kCalls);
    const long baseListings = countLines(Child({"nothing"}), kListings);
    std::printf("%10s %14s %16s\n", "game", "calls/package", "folders opened");
    for (int game = kCaesar3; game <= kEmperor; ++game) {
        const auto child =
            Child({"refresh", sizeRoot, std::to_string(game), "1", std::to_string(count)});
        const long calls = countLines(child, kCalls);
        const long listings = countLines(child, kListings);
        std::printf("%10s %14.1f %16ld\n", FindGame(game)->name,
                    static_cast<double>(calls - baseCalls) / count, listings - baseListings);
    }
    RemoveTree(log);
}

struct InstallTimes {
    bool ok = true;
    double synced = 1e30;    // whole process, flushes included
    double unsynced = 1e30;  // whole process, flushes preloaded away
    double inProcess = 1e30;
    double unzip = 1e30;
    long peakRssKiB = 0;
};

// Installs the archive into fresh game folders (with and without the flushes), and unzips it
// into a fresh folder, several rounds in turn; the fastest of each. Nothing is deleted until
// all rounds are done: ext4 creates files slowly for a while where many were just deleted,
// which would favour whichever ran first.
InstallTimes TimeInstalls(const std::string& root, const std::string& archive,
                          const std::string& name, int repeats) {
    InstallTimes times;
    const std::string rounds = root + "rounds/";
    for (int round = 0; round < repeats && times.ok; ++round) {
        for (int turn = 0; turn < 3 && times.ok; ++turn) {
            const int variant = (turn + round) % 3;  // each goes first once in three rounds
            const std::string folder =
                rounds + std::to_string(round) + "-" + std::to_string(variant) + "/";
            if (variant == 2) {
                const ProcessRun unzip = RunProcess(UnzipCommand(archive, folder));
                times.ok = unzip.ok;
                times.unzip = std::min(times.unzip, unzip.wallSeconds);
                continue;
            }
            const bool synced = variant == 0;
            if (!synced && noSyncLibrary.empty()) continue;
            if (!FreshInstallTree(folder, archive, name)) {
                times.ok = false;
                break;
            }
            std::vector<std::string> environment;
            if (!synced) environment.push_back("LD_PRELOAD=" + noSyncLibrary);
            const ProcessRun run = RunProcess(Child({"install", folder, name}), environment);
            times.ok = run.ok;
            double& best = synced ? times.synced : times.unsynced;
            best = std::min(best, run.wallSeconds);
            if (synced) {
                times.inProcess = std::min(times.inProcess, run.timedSeconds);
                times.peakRssKiB = std::max(times.peakRssKiB, run.peakRssKiB);
            }
        }
    }
    RemoveTree(rounds);
    return times;
}

void PrintExtraction(const std::string& root, const Settings& settings) {
    const std::string source = root + "archives/";
    if (!MakeCollectionFolders(source)) return;
    const long baseline = BaselineRssKiB();
    std::printf(
        "\nInstall extracting every entry of one package into fresh game folders, whole process\n"
        "(start to exit), fastest of %d; \"no flush\": the same with fsync, fdatasync and\n"
        "sync_file_range preloaded away (benchmark only); unzip -o -q into a fresh folder, in\n"
        "turns; KB/entry: peak memory above a process doing nothing, per entry\n\n",
        settings.installRepeats);
    std::printf("%8s %10s %10s %10s %10s | %8s %8s | %7s\n", "entries", "us/entry", "in-proc",
                "no flush", "unzip", "ours/unz", "noflush/u", "KB/entry");
    std::vector<double> perEntry;
    std::string contentLine;
    for (const int entries : settings.entryCounts) {
        char file[32];
        std::snprintf(file, sizeof file, "e%d.zip", entries);
        const std::string name = file;
        if (!WriteManyEntryPackage(source, name, entries)) {
            std::printf("could not build the package of %d entries\n", entries);
            return;
        }
        const InstallTimes times = TimeInstalls(
            root, CollectionPaths(source).caesar3_missions + name, name, settings.installRepeats);
        if (!times.ok) {
            std::printf("%8d FAILED\n", entries);
            continue;
        }
        perEntry.push_back(times.synced / entries);
        if (entries == settings.entryCounts.back()) {
            const ProcessRun content =
                RunProcess(Child({"content", source, name, "5", std::to_string(entries)}));
            contentLine = "Content display of one package of " + std::to_string(entries) +
                          " entries: " + std::to_string(content.timedSeconds * 1e3) + " ms" +
                          (content.ok ? "" : " FAILED");
        }
        std::printf("%8d %10.1f %10.1f %10.1f %10.1f | %7.2fx %7.2fx | %7.2f\n", entries,
                    Micros(times.synced, entries), Micros(times.inProcess, entries),
                    Micros(times.unsynced, entries), Micros(times.unzip, entries),
                    times.synced / times.unzip, times.unsynced / times.unzip,
                    static_cast<double>(times.peakRssKiB - baseline) * 1.024 / entries);
    }
    if (perEntry.size() >= 2) {
        std::printf("time per entry, %d vs %d entries: %.2fx\n", settings.entryCounts.back(),
                    settings.entryCounts.front(), perEntry.back() / perEntry.front());
    }
    std::printf("%s\n", contentLine.c_str());

    // Built in a child, so the archive held in memory leaves this process small.
    const std::string large = "large.zip";
    const std::string largePath = CollectionPaths(source).caesar3_missions + large;
    std::uint64_t bytes = 0;
    {
        const std::string sizeFile = root + "large.size";
        std::fflush(nullptr);
        if (::fork() == 0) {
            const std::uint64_t written = WriteLargePackage(source, large, settings.largeMegabytes);
            FILE* out = std::fopen(sizeFile.c_str(), "w");
            if (out != nullptr) {
                std::fprintf(out, "%llu\n", static_cast<unsigned long long>(written));
                std::fclose(out);
            }
            ::_exit(0);
        }
        ::wait(nullptr);
        FILE* in = std::fopen(sizeFile.c_str(), "r");
        unsigned long long read = 0;
        if (in != nullptr && std::fscanf(in, "%llu", &read) == 1) bytes = read;
        if (in != nullptr) std::fclose(in);
    }
    if (bytes == 0) {
        std::printf("could not build the large package\n");
        return;
    }
    const InstallTimes times = TimeInstalls(root, largePath, large, settings.installRepeats);
    const double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
    if (!times.ok) {
        std::printf("large install FAILED\n");
        return;
    }
    std::printf(
        "\nOne package of %.0f MB (uncompressed), whole process, fastest of %d\n"
        "  install     %8.1f MB/s  (in-process %.1f MB/s; peak RSS %ld KiB)\n"
        "  no flush    %8.1f MB/s\n"
        "  unzip -o -q %8.1f MB/s  -> install is %.2fx unzip (no flush: %.2fx)\n",
        megabytes, settings.installRepeats, megabytes / times.synced, megabytes / times.inProcess,
        times.peakRssKiB, megabytes / times.unsynced, megabytes / times.unzip,
        times.unzip / times.synced, times.unzip / times.unsynced);
}

std::string BesideSelf(const std::string& name) {
    const std::string path = self.substr(0, self.rfind('/') + 1) + name;
    return ::access(path.c_str(), F_OK) == 0 ? path : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    char exe[4096];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length <= 0) return 1;
    self.assign(exe, static_cast<std::size_t>(length));
    if (argc >= 2 && std::strcmp(argv[1], "--run") == 0) return RunChild(argc, argv);

    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (option == "--smoke") {
            settings.collectionSizes = {10, 40};
            settings.entryCounts = {20, 200};
            settings.largeMegabytes = 4;
            settings.processRepeats = 2;
            settings.installRepeats = 1;
        } else if (option == "--keep") {
            settings.keep = true;
        } else {
            std::fprintf(stderr, "unknown option %s\n\n%s", option.c_str(), kUsage);
            return 2;
        }
    }
    windowProgram = BesideSelf("wendmoor_bench_window");
    noSyncLibrary = BesideSelf("libwendmoor_bench_nosync.so");

    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base ? base : "/tmp") + "/wendmoor-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = pattern + "/";
    std::printf("Wendmoor benchmark in %s, %ld cores\n", root.c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN));
    PrintLoad("at the start");

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
    PrintLoad("after the refresh table");
    PrintSyscallProbe(root, settings);
    PrintExtraction(root, settings);
    PrintLoad("at the end");
    if (settings.keep) {
        std::printf("collection kept in %s\n", root.c_str());
    } else {
        RemoveTree(root);
    }
    return 0;
}
