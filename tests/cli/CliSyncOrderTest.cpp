// The order in which install, deinstall and restore ask the system to flush, rename and delete,
// recorded in the tool itself (SyscallRecorder.c): a power cut at any moment must find every
// file of the player either untouched or kept, and every replaced file whole.
#include <algorithm>
#include <fstream>

#include "CliFixture.h"

namespace wendmoor::testing {
namespace {

struct Event {
    std::string kind;  // sync, syncfolder, syncfs, rename, unlink
    std::string path;
    std::string to;  // a rename's target
};

std::vector<Event> ReadEvents(const std::string& log) {
    std::vector<Event> events;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        Event event;
        const std::size_t blank = line.find(' ');
        event.kind = line.substr(0, blank);
        event.path = line.substr(blank + 1);
        if (const std::size_t arrow = event.path.find(" -> "); arrow != std::string::npos) {
            event.to = event.path.substr(arrow + 4);
            event.path.resize(arrow);
        }
        events.push_back(event);
    }
    return events;
}

// What is wrong with the order of one command's events; empty when nothing is.
// `player` is the player's file the command keeps and then replaces or deletes; every change in
// the game folder comes after the flushes of the new bytes (`replaces`), and the kept copy and
// its manifest line are on the disk before the player's file changes.
std::vector<std::string> OrderFaults(const std::vector<Event>& events, const std::string& game,
                                     const std::string& store, const std::string& player,
                                     bool replaces) {
    std::vector<std::string> faults;
    const auto changesGame = [&](const Event& event) {
        return (event.kind == "rename" && event.to.starts_with(game)) ||
               (event.kind == "unlink" && event.path.starts_with(game) &&
                event.path.find("/.wendmoor-") == std::string::npos);
    };
    const auto firstChange = std::find_if(events.begin(), events.end(), changesGame);
    for (auto event = firstChange; replaces && event != events.end(); ++event) {
        if (event->kind == "sync" || event->kind == "syncfs") {
            faults.push_back("flush after a rename: " + event->path);
        } else if (changesGame(*event) &&
                   std::none_of(events.begin(), firstChange, [&](const Event& before) {
                       return before.kind == "syncfs" ||
                              (before.kind == "sync" && before.path == event->path);
                   })) {
            faults.push_back("renamed unflushed: " + event->to);
        }
    }

    // The copy named and on the disk (flushed before its rename, or by a flush of the whole
    // store's file system after it), then its manifest line flushed, all before the change.
    const auto changesPlayer = [&](const Event& event) {
        return changesGame(event) && (event.to == player || event.path == player);
    };
    const std::size_t change =
        std::find_if(events.begin(), events.end(), changesPlayer) - events.begin();
    if (change == events.size()) {
        faults.push_back("the player's file never changed");
        return faults;
    }
    std::string flushedCopy;
    bool named = false;
    bool durable = false;
    for (std::size_t i = 0; i < change; ++i) {
        const Event& event = events[i];
        const bool inStore = event.path.starts_with(store);
        const bool manifest = inStore && event.path.ends_with("/manifest");
        if (event.kind == "sync" && inStore && !manifest) {
            flushedCopy = event.path;
        } else if (event.kind == "rename" && event.to.starts_with(store)) {
            named = true;
            durable = event.path == flushedCopy;
        } else if (event.kind == "syncfs" && inStore && named) {
            durable = true;
        } else if (event.kind == "sync" && manifest && named && durable) {
            return faults;
        }
    }
    faults.push_back("the player's file changed before its copy and manifest line were flushed");
    return faults;
}

ProgramOptions Recorded(ProgramOptions options, const std::string& log) {
    options.environment.push_back({"LD_PRELOAD", WENDMOOR_SYSCALL_RECORDER});
    options.environment.push_back({"WENDMOOR_SYSCALL_LOG", log});
    // The recorder comes first in the list of libraries, which AddressSanitizer would otherwise
    // refuse.
    options.environment.push_back({"ASAN_OPTIONS", "verify_asan_link_order=0"});
    return options;
}

TEST_F(CliTest, FlushesComeBeforeTheChangesTheyProtect) {
    const ProgramOptions data{{{"XDG_DATA_HOME", root.path() + "data"}}, {}};
    const std::string store = root.path() + "data/QARN/backups/";
    const std::string save = paths.caesar3_path + "Rome.sav";
    AddPackage(paths.caesar3_missions, "Rome.zip",
               ZipWriter().Add("Rome.map", "MAP").Add("Rome.sav", "PACKAGE"));

    const struct {
        const char* flow;
        std::vector<std::string> arguments;  // "BACKUP": the one backup the install made
        bool replaces;
    } flows[] = {
        {"install", {"install", "caesar3", "Rome.zip"}, true},
        {"restore", {"restore", "caesar3", "BACKUP", "--force"}, true},
        {"deinstall", {"deinstall", "caesar3", "Rome.zip"}, false},
    };
    std::string backup;
    for (const auto& flow : flows) {
        root.WriteFile("Caesar3/Rome.sav", std::string("PLAYER BEFORE ") + flow.flow);
        std::vector<std::string> arguments = flow.arguments;
        for (std::string& argument : arguments) {
            if (argument == "BACKUP") argument = backup;
        }
        const std::string log = root.path() + flow.flow + ".log";
        const ProgramRun run = Cli(arguments, Recorded(data, log));
        ASSERT_EQ(run.exitCode, 0) << flow.flow << ": " << run.err;
        EXPECT_EQ(OrderFaults(ReadEvents(log), paths.caesar3_path, store, save, flow.replaces),
                  std::vector<std::string>{})
            << flow.flow << ":\n"
            << std::ifstream(log).rdbuf();

        if (backup.empty()) {
            const std::string listed = Cli({"backups", "caesar3"}, data).out;
            backup = listed.substr(0, listed.find('\t'));
        }
    }
}

// An added package is on the disk before it takes its name, and its name before `add` says so.
TEST_F(CliTest, AnAddedPackageIsFlushedThenNamedThenItsFolderFlushed) {
    const std::string download =
        root.WriteFile("downloads/Rome.zip", ZipWriter().Add("Rome.map", "MAP").Bytes());
    const std::string log = root.path() + "add.log";
    ASSERT_EQ(Cli({"add", "caesar3", download}, Recorded({}, log)).exitCode, 0);

    std::string missions = paths.caesar3_missions;
    if (missions.ends_with('/')) missions.pop_back();
    const std::vector<Event> events = ReadEvents(log);
    const auto named = std::find_if(events.begin(), events.end(), [&](const Event& event) {
        return event.kind == "rename" && event.to == missions + "/Rome.zip";
    });
    ASSERT_NE(named, events.end()) << std::ifstream(log).rdbuf();
    EXPECT_TRUE(std::any_of(events.begin(), named, [&](const Event& event) {
        return event.kind == "sync" && event.path == named->path;
    })) << "the copy was named before it was flushed";
    EXPECT_TRUE(std::any_of(named, events.end(), [&](const Event& event) {
        return event.kind == "syncfolder" && event.path == missions;
    })) << "the missions folder was not flushed after the rename";
}

}  // namespace
}  // namespace wendmoor::testing
