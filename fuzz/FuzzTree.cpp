#include "FuzzTree.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "games/Games.h"

namespace wendmoor::fuzz {

namespace fs = std::filesystem;

namespace {

const char* const kGameFolders[] = {
    "c3missions/",        "Caesar3/",        "phmissions/",   "Pharaoh/",
    "Pharaoh/Maps/",      "Pharaoh/Save/",   "zmissions/",    "Zeus/",
    "Zeus/Adventures/",   "Zeus/Save/",      "emissions/",    "Emperor/",
    "Emperor/Campaigns/", "Emperor/Cities/", "Emperor/Save/",
};

void WriteBytes(const std::string& path, const char* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(data, static_cast<std::streamsize>(size));
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "outside the game tree: %s\n", what.c_str());
    std::abort();
}

}  // namespace

FuzzTree& FuzzTree::Instance() {
    // Never destroyed: the clean-up below still needs the root when the process ends.
    static FuzzTree* const tree = new FuzzTree;
    return *tree;
}

FuzzTree::FuzzTree() {
    std::string pattern = (fs::temp_directory_path() / "wendmoor-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Fail("cannot make the temporary root");
    root_ = pattern + "/";
    fs::create_directories(root_ + "sentinel/Save");
    WriteBytes(root_ + "sentinel/evil.map", "sentinel", 8);
    WriteBytes(root_ + "sentinel/Save/evil.sav", "sentinel", 8);
    fs::create_directory(root_ + "games");
    const std::string games = root_ + "games/";
    paths.caesar3_missions = games + "c3missions/";
    paths.caesar3_path = games + "Caesar3/";
    paths.pharao_missions = games + "phmissions/";
    paths.pharao_path = games + "Pharaoh/";
    paths.pharao_saves = games + "Pharaoh/Save/";
    paths.zeus_missions = games + "zmissions/";
    paths.zeus_path = games + "Zeus/";
    paths.zeus_saves = games + "Zeus/Save/";
    paths.emperor_missions = games + "emissions/";
    paths.emperor_path = games + "Emperor/";
    paths.emperor_saves = games + "Emperor/Save/";
    sentinelSnapshot_ = Snapshot();
    // The temporary root goes when the fuzzer ends normally.
    std::atexit([] {
        std::error_code ignored;
        ::chdir("/");
        fs::remove_all(Instance().root_, ignored);
    });
}

std::string FuzzTree::Reset(int game, const std::uint8_t* data, std::size_t size) {
    const std::string games = root_ + "games/";
    ::chdir(root_.c_str());
    std::error_code ignored;
    fs::remove_all(games, ignored);
    fs::create_directory(games);
    for (const char* folder : kGameFolders) fs::create_directory(games + folder);
    const GameDescription* description = FindGame(game);
    WriteBytes(paths.*description->missions + "fuzzed.zip", reinterpret_cast<const char*>(data),
               size);
    return "fuzzed.zip";
}

std::string FuzzTree::Snapshot() const {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root_); it != fs::end(it); ++it) {
        const std::string relative = it->path().lexically_relative(root_).string();
        if (relative == "games") {
            it.disable_recursion_pending();
            entries[relative] = "<folder>";
            continue;
        }
        std::string content = "<folder>";
        if (!it->is_directory()) {
            std::ifstream file(it->path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << file.rdbuf();
            content = bytes.str();
        }
        entries[relative] = content;
    }
    std::string snapshot;
    for (const auto& [name, content] : entries) snapshot += name + "=" + content + "\n";
    return snapshot;
}

void FuzzTree::CheckOutside() const {
    if (Snapshot() != sentinelSnapshot_) Fail(Snapshot());
}

int GameNamed(const std::string& name) {
    if (name == "caesar3") return kCaesar3;
    if (name == "pharao") return kPharao;
    if (name == "zeus") return kZeus;
    if (name == "emperor") return kEmperor;
    Fail("no game " + name);
}

}  // namespace wendmoor::fuzz
