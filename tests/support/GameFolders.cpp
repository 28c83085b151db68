#include "GameFolders.h"

namespace wendmoor::testing {

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

}  // namespace wendmoor::testing
