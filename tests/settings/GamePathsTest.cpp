// The game folders saved and loaded again through the platform's store: a registry key of the
// test's own on Windows, an INI file elsewhere.
#include "settings/GamePaths.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/Path.h"
#include "platform/SettingsStore.h"

#ifdef _WIN32
#include "platform/RegistrySettingsStore.h"
#include "platform/windows/WindowsApi.h"
#endif

namespace wendmoor::testing {
namespace {

class GamePathsTest : public ::testing::Test {
  protected:
    std::string Ini() const { return dir.path() + "QARN.conf"; }
#ifdef _WIN32
    ~GamePathsTest() override {
        HKEY parent = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                          &parent) == ERROR_SUCCESS) {
            RegDeleteTreeA(parent, kKey.substr(std::string("Software\\").size()).c_str());
            RegCloseKey(parent);
        }
    }

    std::unique_ptr<SettingsStore> Store() const {
        return OpenRegistrySettingsStore(RegistryRoot::CurrentUser, kKey);
    }

    // A value as another program may have left it: any type, any bytes.
    void SetRaw(const std::string& name, DWORD type, const std::string& bytes) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(
            RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }

    const std::string kKey = "Software\\Wendmoor tests " + std::to_string(GetCurrentProcessId());
#else
    std::unique_ptr<SettingsStore> Store() const {
        return OpenIniSettingsStore(Ini());
    }
#endif

    TempDir dir;
};

TEST_F(GamePathsTest, SavedFoldersLoadAgainAndEmptyFieldsNeverReplaceStoredOnes) {
    GamePaths saved;
    saved.zeus_path = "/games/Zeus/";
    saved.pharao_saves = "/old/Pharao/Save/";
    saved.caesar3_missions = "/home/player/missions, caesar/";  // a comma must survive
    saved.caesar3_path = "/games/C\xe4sar \xff/";               // no valid text: every byte
    SaveGamePaths(saved, *Store());
    GamePaths loaded;
    EXPECT_TRUE(LoadGamePaths(loaded, *Store()).empty());
    EXPECT_EQ(loaded, saved);
#ifndef _WIN32
    const std::string file = *ReadFileBytes(Ini());
    EXPECT_NE(file.find("[General]\n"), std::string::npos);
    EXPECT_NE(file.find("\nzeus_path=/games/Zeus/\n"), std::string::npos);
#endif

    // An empty field is neither saved nor deleted; a value not stored leaves its field alone.
    std::string value;
    EXPECT_FALSE(Store()->Read("pharao_missions", value));
    loaded.zeus_path = "/new/Zeus/";
    loaded.pharao_saves.clear();
    SaveGamePaths(loaded, *Store());
    GamePaths again;
    again.emperor_path = "/kept/";
    LoadGamePaths(again, *Store());
    EXPECT_EQ(again.zeus_path, "/new/Zeus/");
    EXPECT_EQ(again.pharao_saves, "/old/Pharao/Save/");
    EXPECT_EQ(again.emperor_path, "/kept/");
}

// A stored value ends at its first zero byte; 259 bytes load, 260 are refused.
TEST_F(GamePathsTest, StoredValuesEndAtAZeroByteAndAt259Bytes) {
    const std::string longest = "/" + std::string(257, 'a') + "/";
    const std::string tooLong = "/" + std::string(258, 'b') + "/";
    auto store = Store();
    ASSERT_TRUE(store->Write("zeus_path", longest));
    ASSERT_TRUE(store->Write("zeus_saves", tooLong));
    ASSERT_TRUE(store->Write("pharao_path", std::string("/games/P/\0/elsewhere/", 21)));
    ASSERT_TRUE(store->Write("emperor_path", longest + std::string("\0more", 5)));
    GamePaths loaded;
    const std::vector<std::string> problems = LoadGamePaths(loaded, *Store());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("zeus_saves: ", 0), 0u);
    EXPECT_EQ(loaded.zeus_path, longest);
    EXPECT_EQ(loaded.zeus_saves, "");
    EXPECT_EQ(loaded.pharao_path, "/games/P/");
    EXPECT_EQ(loaded.emperor_path, longest);

    // A folder that fits only without its trailing separator is stored without it.
    GamePaths saved;
    saved.emperor_saves = std::string(259, 'e') + kPathSeparator;
    SaveGamePaths(saved, *Store());
    LoadGamePaths(loaded, *Store());
    EXPECT_EQ(loaded.emperor_saves, saved.emperor_saves);
}

#ifdef _WIN32
TEST_F(GamePathsTest, RegistryValuesOfAnotherTypeOrWithoutAZeroByteAreLeftUnreadAndSaid) {
    SetRaw("caesar3_path", REG_DWORD, std::string("\x2a\0\0\0", 4));
    SetRaw("pharao_path", REG_SZ, std::string(260, 'c'));  // 260 bytes and no zero byte
    SetRaw("zeus_path", REG_BINARY, "C:\\Zeus\\");
    GamePaths loaded;
    loaded.caesar3_path = "C:\\Kept\\";
    const std::vector<std::string> problems = LoadGamePaths(loaded, *Store());
    EXPECT_EQ(loaded.caesar3_path, "C:\\Kept\\");
    EXPECT_EQ(loaded.pharao_path, "");
    EXPECT_EQ(loaded.zeus_path, "");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("caesar3_path: not used, a REG_DWORD value"), std::string::npos);
    EXPECT_EQ(problems[1].rfind("pharao_path: ", 0), 0u);
    EXPECT_NE(problems[2].find("zeus_path: not used, a REG_BINARY value"), std::string::npos);
}
#else
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
#endif

}  // namespace
}  // namespace wendmoor::testing
