// Times the finder on a fake home of some forty thousand files laid out as a player's home with
// Wine prefixes, Bottles, Steam libraries on two drives and ~/Games, and prints one table.
// Run it through scripts/bench.sh (or alone: build-bench/bench/wendmoor_finder_bench).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "finder/FolderWalk.h"
#include "finder/GameFinder.h"
#include "games/Games.h"

namespace fs = std::filesystem;
using namespace wendmoor;

namespace {

long files = 0;

void Files(const std::string& folder, int count, const std::string& stem = "file") {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        std::ofstream(folder + "/" + stem + std::to_string(i) + ".dat") << "x";
        ++files;
    }
}

void Game(const std::string& folder, const char* program) {
    Files(folder, 400);
    Files(folder + "/Save/Player", 20, "save");
    std::ofstream(folder + "/" + program) << "MZ";
    ++files;
}

// A prefix with the Windows folder's bulk and a few dozen installed programs.
void Prefix(const std::string& prefix, int programs) {
    Files(prefix + "/drive_c/windows/system32", 3000);
    Files(prefix + "/drive_c/windows/Fonts", 300);
    for (int p = 0; p < programs; ++p) {
        Files(prefix + "/drive_c/Program Files/Maker" + std::to_string(p % 8) + "/App" +
                  std::to_string(p),
              60);
    }
    Files(prefix + "/drive_c/users/player/Documents", 200);
}

void BuildHome(const std::string& root) {
    const std::string home = root + "home";
    Files(home + "/Documents", 2000);
    Files(home + "/Downloads", 1000);
    Files(home + "/.cache/thumbnails", 3000);
    Prefix(home + "/.wine", 40);
    Game(home + "/.wine/drive_c/GOG Games/Zeus", "Zeus.exe");
    Game(home + "/.wine/drive_c/Sierra/Pharaoh", "PHARAOH.EXE");
    for (int b = 0; b < 4; ++b) {
        Prefix(home + "/.local/share/bottles/bottles/bottle" + std::to_string(b), 10);
    }
    Game(home + "/.local/share/bottles/bottles/bottle0/drive_c/GOG Games/Emperor", "emperor.exe");
    const std::string steam = home + "/.local/share/Steam/steamapps";
    fs::create_directories(steam);
    std::ofstream(steam + "/libraryfolders.vdf")
        << "\"libraryfolders\" { \"0\" { \"path\" \"" << home << "/.local/share/Steam\" }"
        << " \"1\" { \"path\" \"" << root << "drive2/SteamLibrary\" } }";
    for (int g = 0; g < 60; ++g) Files(steam + "/common/Game" + std::to_string(g), 100);
    for (int g = 0; g < 40; ++g) {
        Files(root + "drive2/SteamLibrary/steamapps/common/Game" + std::to_string(g), 100);
    }
    Game(root + "drive2/SteamLibrary/steamapps/common/Caesar 3", "c3.exe");
    for (int g = 0; g < 30; ++g) Files(home + "/Games/game" + std::to_string(g), 100);
}

}  // namespace

int main() {
    const char* tmp = std::getenv("TMPDIR");
    std::string root =
        std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/wendmoor-finder-XXXXXX";
    if (::mkdtemp(root.data()) == nullptr) return 1;
    root += "/";
    BuildHome(root);

    FinderPlaces places;
    places.home = root + "home/";
    double first = 0, best = 1e9;
    std::size_t found = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const GameFindings findings = FindGames(places);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (run == 0) first = seconds;
        best = std::min(best, seconds);
        found = 0;
        for (const int game : {kCaesar3, kPharao, kZeus, kEmperor}) {
            found += findings.GameFolders(game).size();
        }
    }
    std::printf("| fake home | files | games found | first run | fastest of 5 |\n");
    std::printf("|---|---|---|---|---|\n");
    std::printf("| %s | %ld | %zu of 4 | %.1f ms | %.1f ms |\n", root.c_str(), files, found,
                first * 1000, best * 1000);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return found == 4 ? 0 : 1;
}
