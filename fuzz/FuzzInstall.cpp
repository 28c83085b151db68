// Scans, installs, scans and deinstalls an arbitrary archive as a package of one game, in a
// temporary game tree; the tree's check aborts when anything outside it changed.
#include <cstdlib>

#include "FuzzTree.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wendmoor;
    fuzz::FuzzTree& tree = fuzz::FuzzTree::Instance();
    const int game = fuzz::GameNamed(FUZZ_GAME_NAME);
    const std::string name = tree.Reset(game, data, size);
    FileSystem fileSystem;
    PackageSession session(tree.paths, fileSystem, nullptr);
    // A fresh tree holds nothing of a player's. Should a command still find a file to keep, it
    // leaves the file as it is: the store of whoever runs the fuzzer is never written.
    session.SetBackupStoreFolder({});
    if (!session.SelectGame(game)) std::abort();
    session.ShowPackageContent(name);
    (void)session.RunPackageCommand(name, true);
    tree.CheckOutside();
    (void)session.RunPackageCommand(name, false);
    tree.CheckOutside();
    return 0;
}
