#include "Collection.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ZipWriter.h"
#include "games/Games.h"
#include "packages/FileRefCounts.h"
#include "packages/PackageCommandContext.h"
#include "packages/PlanOnDisk.h"
#include "platform/FileSystem.h"

namespace wendmoor::bench {

namespace {

std::string PackageFileName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "mission%05d.zip", index);
    return name;
}

std::string AdventureName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "Adv%05d", index);
    return name;
}

// Text-like bytes from a fixed seed: words of a small vocabulary, so deflate works about as
// hard as on real mission data.
std::string TextLikeBytes(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {"temple ", "granary ", "road ",  "house ", "farm ",
                                         "market ", "well ",    "fort ",  "dock ",  "villa ",
                                         "42 ",     "1730 ",    "wall\n", "gate ",  "pier "};
    std::string bytes;
    bytes.reserve(size + 16);
    std::uint32_t state = seed | 1u;
    while (bytes.size() < size) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes += kWords[state % 15];
        if ((state >> 8) % 7 == 0) bytes += static_cast<char>('a' + (state >> 16) % 26);
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace

GamePaths CollectionPaths(const std::string& root) {
    GamePaths paths;
    const std::string missions = root + "missions/";
    paths.caesar3_missions = missions;
    paths.caesar3_path = root + "c3/";
    paths.pharao_missions = missions;
    paths.pharao_path = root + "pharao/";
    paths.pharao_saves = root + "pharao-saves/";
    paths.zeus_missions = missions;
    paths.zeus_path = root + "zeus/";
    paths.zeus_saves = root + "zeus-saves/";
    paths.emperor_missions = missions;
    paths.emperor_path = root + "emperor/";
    paths.emperor_saves = root + "emperor-saves/";
    return paths;
}

bool MakeCollectionFolders(const std::string& root) {
    std::error_code error;
    for (const char* folder :
         {"missions", "c3", "pharao/MAPS", "pharao-saves", "zeus/adventures", "zeus-saves",
          "emperor/Cities", "emperor/CAMPAIGNS", "emperor-saves"}) {
        std::filesystem::create_directories(root + folder, error);
        if (error) return false;
    }
    return true;
}

bool BuildPackageCollection(const std::string& root, int count) {
    if (!MakeCollectionFolders(root)) return false;
    GamePaths paths = CollectionPaths(root);
    FileSystem fileSystem;
    FileRefCounts fileRefs(fileSystem);
    PackageCommandContext context{paths, fileSystem, fileRefs};
    for (int i = 0; i < count; ++i) {
        const std::string adventure = AdventureName(i);
        testing::ZipWriter zip;
        zip.Add(adventure + ".pak", TextLikeBytes(300, i * 4 + 1));
        zip.Add(adventure + ".txt", TextLikeBytes(200, i * 4 + 2));
        zip.Add(adventure + ".map", TextLikeBytes(600, i * 4 + 3));
        zip.Add(adventure + ".sav", TextLikeBytes(400, i * 4 + 4));
        const std::string archive = paths.caesar3_missions + PackageFileName(i);
        if (!zip.WriteTo(archive)) return false;
        if (i % 2 != 0) continue;
        for (int game = kCaesar3; game <= kEmperor; ++game) {
            const std::optional<Outcome> done =
                RunGameCommand(*FindGame(game), context, archive, true);
            if (!done) return false;
        }
        if (i % 4 == 0) {
            std::error_code error;
            std::filesystem::rename(paths.caesar3_path + adventure + ".map",
                                    paths.caesar3_path + "ADV" + adventure.substr(3) + ".MAP",
                                    error);
            if (error) return false;
        }
    }
    return true;
}

bool WriteManyEntryPackage(const std::string& root, const std::string& name, int entries) {
    testing::ZipWriter zip;
    for (int i = 0; i < entries; ++i) {
        // Named after the package, so no other package shares its targets.
        char entry[24];
        std::snprintf(entry, sizeof entry, "%05d.map", i);
        zip.Add("maps/" + name.substr(0, name.find('.')) + entry, TextLikeBytes(64, i + 1));
    }
    return zip.WriteTo(CollectionPaths(root).caesar3_missions + name);
}

std::uint64_t WriteLargePackage(const std::string& root, const std::string& name, int megabytes) {
    constexpr int kEntryMegabytes = 10;
    testing::ZipWriter zip;
    std::uint64_t total = 0;
    for (int i = 0; megabytes > 0; ++i) {
        const int size = std::min(megabytes, kEntryMegabytes);
        megabytes -= size;
        std::string data = TextLikeBytes(static_cast<std::size_t>(size) << 20, i + 7);
        total += data.size();
        char entry[32];
        std::snprintf(entry, sizeof entry, "Large%02d.map", i);
        zip.Add(entry, std::move(data));
    }
    return zip.WriteTo(CollectionPaths(root).caesar3_missions + name) ? total : 0;
}

bool FreshInstallTree(const std::string& root, const std::string& archive,
                      const std::string& name) {
    RemoveTree(root);
    if (!MakeCollectionFolders(root)) return false;
    const std::string copy = CollectionPaths(root).caesar3_missions + name;
    std::error_code error;
    std::filesystem::create_hard_link(archive, copy, error);
    if (error) std::filesystem::copy_file(archive, copy, error);
    return !error;
}

void RemoveTree(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

}  // namespace wendmoor::bench
