#pragma once

#include <gtest/gtest.h>

#include <string>

#include "GameFolders.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "packages/PackageSession.h"
#include "platform/FileSystem.h"
#include "settings/GamePaths.h"

namespace wendmoor::testing {

// The folders of all four games in a temporary folder, and a session over them that never asks
// for folders: the ground of the package tests.
class GameSessionTest : public ::testing::Test {
  protected:
    GameSessionTest() : paths(MakeGameFolders(dir)) {}

    // Writes an archive into a missions folder; returns its path.
    std::string Package(const std::string& missionsFolder, const std::string& name,
                        const ZipWriter& zip) {
        const std::string path = missionsFolder + name;
        EXPECT_TRUE(zip.WriteTo(path));
        return path;
    }

    TempDir dir;
    GamePaths paths;
    FileSystem fileSystem;
    PackageSession session{paths, fileSystem, nullptr};
};

}  // namespace wendmoor::testing
