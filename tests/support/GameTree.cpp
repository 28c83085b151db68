#include "GameTree.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "packages/Games.h"

namespace wendmoor::testing {

namespace fs = std::filesystem;

GamePaths MakeGameFolders(const TempDir& dir, const std::string& under) {
    GamePaths paths;
    paths.caesar3_missions = dir.MakeFolder(under + "c3missions");
    paths.caesar3_path = dir.MakeFolder(under + "Caesar3");
    paths.pharao_missions = dir.MakeFolder(under + "phmissions");
    paths.pharao_path = dir.MakeFolder(under + "Pharaoh");
    dir.MakeFolder(under + "Pharaoh/Maps");
    paths.pharao_saves = dir.MakeFolder(under + "Pharaoh/Save");
    paths.zeus_missions = dir.MakeFolder(under + "zmissions");
    paths.zeus_path = dir.MakeFolder(under + "Zeus");
    dir.MakeFolder(under + "Zeus/Adventures");
    paths.zeus_saves = dir.MakeFolder(under + "Zeus/Save");
    paths.emperor_missions = dir.MakeFolder(under + "emissions");
    paths.emperor_path = dir.MakeFolder(under + "Emperor");
    dir.MakeFolder(under + "Emperor/Campaigns");
    dir.MakeFolder(under + "Emperor/Cities");
    paths.emperor_saves = dir.MakeFolder(under + "Emperor/Save");
    return paths;
}

void GameSessionTest::CheckRoundTrip(const RoundTrip& trip) {
    const GameDescription& game = *FindGame(trip.game);
    const std::string folder = paths.*game.gameFolder;
    const std::string before = ListTree(folder);
    ZipWriter zip;
    for (const auto& [name, bytes] : trip.entries) zip.Add(name, bytes);
    const std::string package = Package(paths.*game.missions, "p.zip", zip);
    ASSERT_TRUE(session.SelectGame(trip.game));
    EXPECT_EQ(session.Lists().available, std::vector<std::string>{"p.zip"});
    session.ShowPackageContent("p.zip");
    EXPECT_EQ(session.Content(), trip.content);

    ASSERT_TRUE(session.RunPackageCommand("p.zip", true).Ok());
    EXPECT_EQ(ListTree(folder), trip.installed);
    EXPECT_EQ(session.Lists().installed, std::vector<std::string>{"p.zip"});

    ASSERT_TRUE(session.RunPackageCommand("p.zip", false).Ok());
    EXPECT_EQ(ListTree(folder), trip.removed.empty() ? before : trip.removed);
    EXPECT_EQ(session.Lists().available, std::vector<std::string>{"p.zip"});
    EXPECT_TRUE(session.FileRefs().Snapshot().empty());
    fs::remove(package);
}

GameTree::GameTree() {
    paths = MakeGameFolders(dir_, "games/");
    dir_.WriteFile("sentinel/evil.map", "sentinel map");
    dir_.WriteFile("sentinel/Save/evil.sav", "sentinel save");
    dir_.WriteFile("evil.map", "root map");
}

std::string GameTree::Package(int game, const std::string& name, const std::string& bytes) const {
    const GameDescription* description = FindGame(game);
    if (description == nullptr) throw std::invalid_argument("no such game");
    return WriteFile(paths.*description->missions + name, bytes);
}

std::string GameTree::WriteFile(const std::string& path, const std::string& bytes) const {
    if (!WriteFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string GameTree::OutsideSnapshot() const {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(Root()); it != fs::end(it); ++it) {
        const std::string relative = it->path().lexically_relative(Root()).string();
        if (relative == "games") {
            it.disable_recursion_pending();
            continue;
        }
        entries[relative] = it->is_directory() ? std::string("<folder>")
                                               : ReadFileBytes(it->path().string()).value_or("?");
    }
    std::string snapshot;
    for (const auto& [name, content] : entries) snapshot += name + "=" + content + "\n";
    return snapshot;
}

bool GameTree::HasTemporaryFiles() const {
    for (const auto& entry : fs::recursive_directory_iterator(Root())) {
        if (entry.path().filename().string().rfind(".wendmoor-", 0) == 0) return true;
    }
    return false;
}

namespace {

std::uint32_t Get32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint16_t Get16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::size_t CentralRecordOf(const std::string& archive, const std::string& name) {
    const std::string signature("PK\1\2", 4);
    for (std::size_t at = archive.find(signature); at != std::string::npos;
         at = archive.find(signature, at + 1)) {
        if (archive.compare(at + 46, Get16(archive, at + 28), name) == 0 &&
            Get16(archive, at + 28) == name.size()) {
            return at;
        }
    }
    throw std::invalid_argument("no entry " + name);
}

}  // namespace

void PatchCentralRecord(std::string& archive, const std::string& name, std::size_t at,
                        std::uint32_t value) {
    const std::size_t record = CentralRecordOf(archive, name);
    for (int i = 0; i < 4; ++i) archive[record + at + i] = static_cast<char>(value >> (8 * i));
}

std::size_t EntryDataOf(const std::string& archive, const std::string& name) {
    const std::size_t local = Get32(archive, CentralRecordOf(archive, name) + 42);
    return local + 30 + Get16(archive, local + 26) + Get16(archive, local + 28);
}

}  // namespace wendmoor::testing
