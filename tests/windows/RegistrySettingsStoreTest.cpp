// The registry store with the settings fields, under a key of the test's own.
#include "platform/RegistrySettingsStore.h"

#include <gtest/gtest.h>

#include "platform/windows/WindowsApi.h"
#include "settings/GamePaths.h"

namespace wendmoor {
namespace {

class RegistryStoreTest : public ::testing::Test {
  protected:
    ~RegistryStoreTest() override {
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

    bool Has(const std::string& name) const {
        return RegGetValueA(HKEY_CURRENT_USER, kKey.c_str(), name.c_str(),
                            RRF_RT_ANY | RRF_SUBKEY_WOW6432KEY, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
    }

    const std::string kKey = "Software\\Wendmoor tests " + std::to_string(GetCurrentProcessId());
};

TEST_F(RegistryStoreTest, SavedFoldersLoadAgainAndEmptyOnesAreNeverWritten) {
    GamePaths saved;
    saved.zeus_path = "C:\\Games\\Zeus\\";
    saved.caesar3_path = "D:\\Spiele\\C\xe4sar III\\";  // a letter of the ANSI code page
    SaveGamePaths(saved, *Store());
    EXPECT_FALSE(Has("zeus_saves"));
    GamePaths loaded;
    EXPECT_TRUE(LoadGamePaths(loaded, *Store()).empty());
    EXPECT_EQ(loaded, saved);

    // An emptied field keeps the value saved earlier.
    GamePaths changed = saved;
    changed.zeus_path = "E:\\Zeus\\";
    changed.caesar3_path.clear();
    SaveGamePaths(changed, *Store());
    GamePaths again;
    LoadGamePaths(again, *Store());
    EXPECT_EQ(again.zeus_path, "E:\\Zeus\\");
    EXPECT_EQ(again.caesar3_path, saved.caesar3_path);
}

TEST_F(RegistryStoreTest, AStoredFolderHoldsAtMost259Bytes) {
    const std::string longest = "C:\\" + std::string(255, 'a') + "\\";  // 259 bytes
    const std::string tooLong = "C:\\" + std::string(256, 'b') + "\\";  // 260 bytes
    ASSERT_EQ(longest.size(), 259u);
    auto store = Store();
    ASSERT_TRUE(store->Write("zeus_path", longest));
    ASSERT_TRUE(store->Write("zeus_saves", tooLong));
    SetRaw("pharao_path", REG_SZ, std::string(260, 'c'));  // 260 bytes and no zero byte
    GamePaths loaded;
    const std::vector<std::string> problems = LoadGamePaths(loaded, *Store());
    EXPECT_EQ(loaded.zeus_path, longest);
    EXPECT_EQ(loaded.zeus_saves, "");
    EXPECT_EQ(loaded.pharao_path, "");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].rfind("pharao_path: ", 0), 0u);
    EXPECT_EQ(problems[1].rfind("zeus_saves: ", 0), 0u);

    // A folder that fits only without its trailing separator is stored without it.
    GamePaths saved;
    saved.emperor_path = tooLong;
    SaveGamePaths(saved, *Store());
    GamePaths reloaded;
    LoadGamePaths(reloaded, *Store());
    EXPECT_EQ(reloaded.emperor_path, tooLong);
}

TEST_F(RegistryStoreTest, ValuesOfAnotherTypeAreLeftUnreadAndSaid) {
    SetRaw("caesar3_path", REG_DWORD, std::string("\x2a\0\0\0", 4));
    SetRaw("zeus_path", REG_BINARY, "C:\\Zeus\\");
    GamePaths loaded;
    loaded.caesar3_path = "C:\\Kept\\";
    const std::vector<std::string> problems = LoadGamePaths(loaded, *Store());
    EXPECT_EQ(loaded.caesar3_path, "C:\\Kept\\");
    EXPECT_EQ(loaded.zeus_path, "");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("caesar3_path: not used, a REG_DWORD value"), std::string::npos);
    EXPECT_NE(problems[1].find("zeus_path: not used, a REG_BINARY value"), std::string::npos);
}

}  // namespace
}  // namespace wendmoor
