// The game folders saved and loaded again through the platform's store: a registry key of the
// test's own on Windows (the user's over the machine's), an INI file elsewhere.
#include "settings/GamePaths.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipWriter.h"
#include "platform/Path.h"
#include "platform/SettingsStore.h"

#ifdef _WIN32
#include "platform/windows/RegistrySettingsStore.h"
#include "platform/windows/WindowsError.h"
#endif

namespace wendmoor::testing {
namespace {

class GamePathsTest : public ::testing::Test {
  protected:
    std::string Ini() const { return dir.path() + "QARN.conf"; }
#ifdef _WIN32
    // The test's key goes from both roots, with everything under it.
    ~GamePathsTest() override {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            HKEY parent = nullptr;
            if (RegOpenKeyExW(root, L"Software", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &parent) ==
                ERROR_SUCCESS) {
                RegDeleteTreeW(parent, kLeaf.c_str());
                RegCloseKey(parent);
            }
        }
    }

    std::unique_ptr<SettingsStore> Store() const {
        return OpenRegistrySettingsStore(kKey);
    }

    // A value as another program may have left it: any type, any bytes (UTF-16 for strings).
    void SetRaw(HKEY root, const std::string& name, DWORD type, const std::string& bytes) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, (L"Software\\" + kLeaf).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring wideName(name.begin(), name.end());
        EXPECT_EQ(RegSetValueExW(key, wideName.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void SetText(HKEY root, const std::string& name, const std::wstring& text) const {
        SetRaw(root, name, REG_SZ,
               std::string(reinterpret_cast<const char*>(text.c_str()),
                           (text.size() + 1) * sizeof(wchar_t)));
    }
    // The string a root's key holds, as the registry keeps it; empty when it has none.
    std::wstring Text(HKEY root, const std::string& name) const {
        wchar_t text[512] = {};
        DWORD size = sizeof text;
        const std::wstring wideName(name.begin(), name.end());
        RegGetValueW(root, (L"Software\\" + kLeaf).c_str(), wideName.c_str(),
                     RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, text, &size);
        return text;
    }

    const std::wstring kLeaf = L"Wendmoor tests " + std::to_wstring(GetCurrentProcessId());
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
    // \u00e4, \u20ac and a Cyrillic letter, whatever the system's code page
    saved.emperor_saves = "/Spiele/K\xc3\xa4se \xe2\x82\xac \xd0\x96/";
#ifndef _WIN32
    saved.caesar3_path = "/games/C\xe4sar \xff/";  // no valid text: every byte
#endif
    ASSERT_TRUE(SaveGamePaths(saved, *Store()).Ok());
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
    ASSERT_TRUE(SaveGamePaths(loaded, *Store()).Ok());
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
    ASSERT_TRUE(store->Write("zeus_path", longest).Ok());
    ASSERT_TRUE(store->Write("zeus_saves", tooLong).Ok());
    ASSERT_TRUE(store->Write("pharao_path", std::string("/games/P/\0/elsewhere/", 21)).Ok());
    ASSERT_TRUE(store->Write("emperor_path", longest + std::string("\0more", 5)).Ok());
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
    ASSERT_TRUE(SaveGamePaths(saved, *Store()).Ok());
    LoadGamePaths(loaded, *Store());
    EXPECT_EQ(loaded.emperor_saves, saved.emperor_saves);
}

#ifdef _WIN32
TEST_F(GamePathsTest, RegistryValuesOfAnotherTypeOrWithoutAZeroAreLeftUnreadAndSaid) {
    SetRaw(HKEY_CURRENT_USER, "caesar3_path", REG_DWORD, std::string("\x2a\0\0\0", 4));
    const std::wstring noZero(260, L'c');
    SetRaw(HKEY_CURRENT_USER, "pharao_path", REG_SZ,
           std::string(reinterpret_cast<const char*>(noZero.data()), 520));
    SetRaw(HKEY_CURRENT_USER, "zeus_path", REG_BINARY, "C:\\Zeus\\");
    SetText(HKEY_LOCAL_MACHINE, "zeus_path", L"C:\\Machine\\");  // the user's one counts
    SetText(HKEY_CURRENT_USER, "zeus_saves", std::wstring(L"C:\\") + wchar_t(0xd800) + L"\\");
    // A name in another letter case is the setting's; one Wendmoor does not know is said.
    SetText(HKEY_LOCAL_MACHINE, "Emperor_Path", L"C:\\Emperor\\");
    SetText(HKEY_CURRENT_USER, "Caesar3_Pth", L"C:\\C3\\");
    GamePaths loaded;
    loaded.caesar3_path = "C:\\Kept\\";
    const std::vector<std::string> problems = LoadGamePaths(loaded, *Store());
    EXPECT_EQ(loaded.caesar3_path, "C:\\Kept\\");
    EXPECT_EQ(loaded.pharao_path, "");
    EXPECT_EQ(loaded.zeus_path, "");
    EXPECT_EQ(loaded.zeus_saves, "");
    EXPECT_EQ(loaded.emperor_path, "C:\\Emperor\\");
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_NE(problems[0].find("caesar3_path: not used, a REG_DWORD value"), std::string::npos);
    EXPECT_EQ(problems[1].rfind("pharao_path: ", 0), 0u);
    EXPECT_NE(problems[2].find("zeus_path: not used, a REG_BINARY value"), std::string::npos);
    EXPECT_NE(problems[3].find("zeus_saves: not used, it holds a lone UTF-16 surrogate"),
              std::string::npos);
    EXPECT_EQ(problems[4], "Caesar3_Pth: not a setting Wendmoor knows, not used");
}

// The user's key over the machine's, as an older tool left them: writes go to the user's key
// alone, which needs no administrator rights, and a write that fails says why.
TEST_F(GamePathsTest, TheUsersKeyOverTheMachinesAndWritesToTheUsers) {
    SetText(HKEY_LOCAL_MACHINE, "zeus_path", L"C:\\Machine\\Zeus\\");
    SetText(HKEY_LOCAL_MACHINE, "zeus_saves", L"C:\\Spiele\\K\u00e4se \u20ac \u0416\\");
    SetText(HKEY_CURRENT_USER, "zeus_path", L"C:\\User\\Zeus\\");
    GamePaths loaded;
    EXPECT_TRUE(LoadGamePaths(loaded, *Store()).empty());
    EXPECT_EQ(loaded.zeus_path, "C:\\User\\Zeus\\");
    EXPECT_EQ(loaded.zeus_saves, "C:\\Spiele\\K\xc3\xa4se \xe2\x82\xac \xd0\x96\\");

    loaded.zeus_saves = "D:\\\xd0\x96\\";
    ASSERT_TRUE(SaveGamePaths(loaded, *Store()).Ok());
    EXPECT_EQ(Text(HKEY_CURRENT_USER, "zeus_saves"), L"D:\\\u0416\\");
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, "zeus_saves"), L"C:\\Spiele\\K\u00e4se \u20ac \u0416\\");

    const struct {
        std::string key;
        std::string value;
        std::string reason;  // how the failure's reason starts
    } refused[] = {
        {kKey, "C:\\Spiele\\K\xe4se\\", "not valid UTF-8"},
        {kKey + "\\Volatile\\Lasting", "C:\\Zeus\\",
         WindowsFailure("", ERROR_CHILD_MUST_BE_VOLATILE).Failures()[0].reason},
    };
    HKEY volatileKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, (L"Software\\" + kLeaf + L"\\Volatile").c_str(), 0,
                        nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &volatileKey, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    for (const auto& [key, value, reason] : refused) {
        GamePaths paths;
        paths.emperor_path = value;
        const Outcome saved = SaveGamePaths(paths, *OpenRegistrySettingsStore(key));
        ASSERT_EQ(saved.Failures().size(), 1u) << key;
        EXPECT_EQ(saved.Failures()[0].subject, "emperor_path");
        EXPECT_EQ(saved.Failures()[0].reason.rfind(
                      "HKEY_CURRENT_USER\\" + key + "\\emperor_path: " + reason, 0),
                  0u)
            << saved.Lines()[0];
    }
    EXPECT_EQ(Text(HKEY_CURRENT_USER, "emperor_path"), L"");
}
#else
// Lines written by hand load as the folder they name, and save and load again unchanged; what
// cannot be taken as written, or a name Wendmoor does not know, is refused, naming the value. (The
// INI syntax itself is IniFilesTest's.)
TEST_F(GamePathsTest, HandWrittenValuesLoadAsWritten) {
    const std::string quoteIt = "caesar3_path=\"";
    const std::string notUtf8 = "caesar3_path: not used, it holds bytes that are not UTF-8";
    const struct {
        std::string line;
        std::string loaded;   // empty: refused
        std::string problem;  // the start of the refusal
    } cases[] = {
        {"caesar3_path=/games/C3", "/games/C3/", ""},
        {"caesar3_path=\"/games/a\",b/", "", quoteIt},
        // Bytes that are no UTF-8 never become another folder: a list is taken byte for byte.
        {"caesar3_path=/games/C\xe4sar/", "", notUtf8},
        {"caesar3_path=\"/games/\xff\"", "", notUtf8},
        {"caesar3_path=/games/cut\xc3", "", notUtf8},
        {"caesar3_path=/games/a,\xe4/", "/games/a,\xe4/", ""},
        {"caesar3_pth=/games/C3", "", "caesar3_pth: not a setting Wendmoor knows"},
    };
    for (const auto& [line, expected, problem] : cases) {
        dir.WriteFile("QARN.conf", "[General]\n" + line + "\n");
        GamePaths loaded;
        const std::vector<std::string> problems =
            LoadGamePaths(loaded, *OpenIniSettingsStore(Ini()));
        EXPECT_EQ(loaded.caesar3_path, expected) << line;
        ASSERT_EQ(problems.size(), expected.empty() ? 1u : 0u) << line;
        if (expected.empty()) {
            EXPECT_NE(problems[0].find(problem), std::string::npos) << problems[0];
        }
        ASSERT_TRUE(SaveGamePaths(loaded, *OpenIniSettingsStore(Ini())).Ok());
        GamePaths again;
        LoadGamePaths(again, *OpenIniSettingsStore(Ini()));
        EXPECT_EQ(again.caesar3_path, loaded.caesar3_path) << line;
    }
}

// Every value is tried; each one that could not be saved is named, with the file and the reason.
TEST_F(GamePathsTest, ValuesThatCannotBeSavedAreNamedWithTheReason) {
    const std::string file = dir.WriteFile("file", "") + "/QARN.conf";
    GamePaths paths;
    paths.zeus_path = "/z/";
    paths.emperor_saves = "/e/";
    const std::vector<std::string> lines =
        SaveGamePaths(paths, *OpenIniSettingsStore(file)).Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("zeus_path: " + dir.path() + "file", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("emperor_saves: " + dir.path() + "file", 0), 0u) << lines[1];
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
