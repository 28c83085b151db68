#include "GameTree.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "archive/ZipFormat.h"

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
    EXPECT_EQ(ListTree(folder), before);
    EXPECT_EQ(session.Lists().available, std::vector<std::string>{"p.zip"});
    EXPECT_TRUE(session.FileRefs().Snapshot().empty());
    fs::remove(package);
}

std::string GameSessionTest::Package(int game, const std::string& name, const std::string& bytes) {
    const std::string path = paths.*FindGame(game)->missions + name;
    if (!WriteFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
    return path;
}

GameTreeTest::GameTreeTest() : GameSessionTest("games/") {
    dir.WriteFile("sentinel/evil.map", "sentinel map");
    dir.WriteFile("sentinel/Save/evil.sav", "sentinel save");
    dir.WriteFile("evil.map", "root map");
}

void GameTreeTest::TearDown() {
    EXPECT_EQ(TreeWithBytes(dir.path(), "games"), outsideBefore_);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(kTemporaryPrefix))
            << entry.path();
    }
}

std::string TreeWithBytes(const std::string& folder, const std::string& skipped) {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
        const std::string relative = it->path().lexically_relative(folder).string();
        if (relative == skipped) {
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

namespace {

const unsigned char* At(const std::string& bytes, std::size_t at) {
    return reinterpret_cast<const unsigned char*>(bytes.data()) + at;
}

std::size_t CentralRecordOf(const std::string& archive, const std::string& name) {
    const std::string signature("PK\1\2", 4);
    for (std::size_t at = archive.find(signature); at != std::string::npos;
         at = archive.find(signature, at + 1)) {
        if (archive.compare(at + kCentralHeaderSize, Le16(At(archive, at + 28)), name) == 0 &&
            Le16(At(archive, at + 28)) == name.size()) {
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
    const std::size_t local = Le32(At(archive, CentralRecordOf(archive, name) + 42));
    return local + kLocalHeaderSize + Le16(At(archive, local + 26)) + Le16(At(archive, local + 28));
}

}  // namespace wendmoor::testing
