// Writes a seed corpus of valid and damaged packages for every game into the given folder.
#include <cstdio>
#include <string>
#include <vector>

#include "ZipWriter.h"

using wendmoor::testing::ZipWriter;

namespace {

std::vector<std::pair<std::string, ZipWriter>> ValidPackages() {
    const ZipWriter::Method stored = ZipWriter::Method::Stored;
    return {
        {"maps-saves", ZipWriter().Add("Maps/Rome.MAP", "map").Add("a.sav", "save", stored)},
        {"zeus", ZipWriter()
                     .AddFolder("Troy/")
                     .Add("Troy/Troy.pak", "pak")
                     .Add("Troy.txt", "text")
                     .Add("Troy.set", "set")
                     .Add("Troy1.map", std::string(3000, 'm'))
                     .Add("start.sav", "s")},
        {"emperor", ZipWriter()
                        .Add("Rome.pak", "pak")
                        .Add("Rome.set", "set")
                        .Add("Rome1.map", "campaign map")
                        .Add("Alexandria.map", "city", stored)
                        .Add("x.sav", "save")
                        .Add("notes.txt", "n")},
        {"hostile-names", ZipWriter()
                              .Add("../../up.map", "u")
                              .Add("/abs.sav", "a")
                              .Add("..\\c:x.map", "b")
                              .Add("....pak", "p")
                              .Add("..pak", "q")},
        {"empty", ZipWriter().Add("e.map", "", stored).Add("e.sav", "")},
    };
}

bool Write(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool ok = true;
    for (const auto& [name, zip] : ValidPackages()) {
        const std::string bytes = zip.Bytes();
        ok &= Write(folder + name + ".zip", bytes);
        ok &= Write(folder + name + "-cut.zip", bytes.substr(0, bytes.size() * 2 / 3));
        std::string flipped = bytes;
        flipped[flipped.size() / 3] ^= 0x5a;
        ok &= Write(folder + name + "-flipped.zip", flipped);
    }
    ZipWriter::Entry wrongCrc{"bad.map", "data", ZipWriter::Method::Deflated, 1, 0, {}};
    ZipWriter::Entry encrypted{"secret.sav", "data", ZipWriter::Method::Stored, {}, 1, {}};
    ZipWriter::Entry unknownMethod{"odd.map", "data", ZipWriter::Method::Stored, {}, 0, 12};
    ok &= Write(folder + "damaged.zip",
                ZipWriter().Add(wrongCrc).Add(encrypted).Add(unknownMethod).Bytes());
    ok &= Write(folder + "not-a-zip.zip", "plain text, no archive");
    return ok ? 0 : 1;
}
