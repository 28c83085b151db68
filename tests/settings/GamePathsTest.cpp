#include "settings/GamePaths.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/SettingsStore.h"

namespace wendmoor {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

class GamePathsTest : public ::testing::Test {
  protected:
    std::string Ini() const { return dir.path() + "QARN.conf"; }

    TempDir dir;
};

TEST_F(GamePathsTest, SavedFoldersLoadAgainAndEmptyFieldsNeverReplaceStoredOnes) {
    GamePaths saved;
    saved.zeus_path = "/games/Zeus/";
    saved.pharao_saves = "/old/Pharao/Save/";
    saved.caesar3_missions = "/home/player/missions, caesar/";  // a comma must survive
    saved.caesar3_path = "/games/C\xe4sar \xff/";               // no valid text: every byte
    SaveGamePaths(saved, *OpenIniSettingsStore(Ini()));
    GamePaths loaded;
    LoadGamePaths(loaded, *OpenIniSettingsStore(Ini()));
    EXPECT_EQ(loaded, saved);
    const std::string file = *ReadFileBytes(Ini());
    EXPECT_NE(file.find("[General]\n"), std::string::npos);
    EXPECT_NE(file.find("\nzeus_path=/games/Zeus/\n"), std::string::npos);

    // An empty field is neither saved nor deleted; a value not stored leaves its field alone.
    loaded.zeus_path = "/new/Zeus/";
    loaded.pharao_saves.clear();
    SaveGamePaths(loaded, *OpenIniSettingsStore(Ini()));
    GamePaths again;
    again.emperor_path = "/kept/";
    LoadGamePaths(again, *OpenIniSettingsStore(Ini()));
    EXPECT_EQ(again.zeus_path, "/new/Zeus/");
    EXPECT_EQ(again.pharao_saves, "/old/Pharao/Save/");
    EXPECT_EQ(again.emperor_path, "/kept/");
}

// A stored value ends at its first zero byte; 259 bytes load, 260 are refused.
TEST_F(GamePathsTest, StoredValuesEndAtAZeroByteAndAt259Bytes) {
    const std::string longest = "/" + std::string(257, 'a') + "/";
    const std::string tooLong = "/" + std::string(258, 'b') + "/";
    auto store = OpenIniSettingsStore(Ini());
    store->Write("zeus_path", longest);
    store->Write("zeus_saves", tooLong);
    store->Write("pharao_path", std::string("/games/P/\0/elsewhere/", 21));
    store->Write("emperor_path", longest + std::string("\0more", 5));
    GamePaths loaded;
    EXPECT_EQ(LoadGamePaths(loaded, *OpenIniSettingsStore(Ini())).size(), 1u);
    EXPECT_EQ(loaded.zeus_path, longest);
    EXPECT_EQ(loaded.zeus_saves, "");
    EXPECT_EQ(loaded.pharao_path, "/games/P/");
    EXPECT_EQ(loaded.emperor_path, longest);
}

// Lines written by hand load as the folder they name, and save and load again unchanged.
TEST_F(GamePathsTest, HandWrittenValuesLoadAsWritten) {
    const std::string longest = "/" + std::string(258, 'x');
    const struct {
        std::string line;
        std::string loaded;  // empty: refused
    } cases[] = {
        {"caesar3_path=/games/C3", "/games/C3/"},
        {"caesar3_path=/games/a,b/", "/games/a,b/"},
        {"caesar3_path=\"/games/a,b\"", "/games/a,b/"},
        {"caesar3_path = /games/a , b,c ", "/games/a , b,c/"},
        {"caesar3_path=" + longest, longest + "/"},
        {"caesar3_path=/a,b/\n[Other]\ncaesar3_path=/o,p/\n[general]\ncaesar3_path=/c,d/", "/c,d/"},
        {"caesar3_path=\"/games/a\",b/", ""},
    };
    for (const auto& [line, expected] : cases) {
        dir.WriteFile("QARN.conf", "[General]\n" + line + "\n");
        GamePaths loaded;
        const std::vector<std::string> problems =
            LoadGamePaths(loaded, *OpenIniSettingsStore(Ini()));
        EXPECT_EQ(loaded.caesar3_path, expected) << line;
        // A refusal names the value and shows how to quote it.
        ASSERT_EQ(problems.size(), expected.empty() ? 1u : 0u) << line;
        if (expected.empty()) {
            EXPECT_NE(problems[0].find("caesar3_path=\""), std::string::npos);
        }
        SaveGamePaths(loaded, *OpenIniSettingsStore(Ini()));
        GamePaths again;
        LoadGamePaths(again, *OpenIniSettingsStore(Ini()));
        EXPECT_EQ(again.caesar3_path, loaded.caesar3_path) << line;
    }
}

TEST_F(GamePathsTest, MachineWideFileSuppliesWhatTheUsersLacks) {
    const std::string machine = dir.path() + "machine.conf";
    dir.WriteFile("machine.conf", "[General]\nzeus_path=/opt/Zeus/\nzeus_saves=/opt/Zeus/Save/\n");
    dir.WriteFile("QARN.conf", "[General]\nzeus_path=/home/Zeus/\n");
    GamePaths loaded;
    LoadGamePaths(loaded, *OpenIniSettingsStore(Ini(), machine));
    EXPECT_EQ(loaded.zeus_path, "/home/Zeus/");
    EXPECT_EQ(loaded.zeus_saves, "/opt/Zeus/Save/");
}

TEST_F(GamePathsTest, GarbageFileLoadsWhatItCanAndCrashesNothing) {
    dir.WriteFile("QARN.conf",
                  std::string("\x00\xff[[[=\n=\nzeus_path\n[General]\npharao_path=/p/\n", 36));
    GamePaths loaded;
    LoadGamePaths(loaded, *OpenIniSettingsStore(Ini()));
    EXPECT_EQ(loaded.zeus_path, "");
}

}  // namespace
}  // namespace wendmoor
