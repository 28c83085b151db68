// The settings store on Windows: string values under HKEY_LOCAL_MACHINE\Software\QARN.
#ifdef _WIN32
#include <windows.h>

#include "platform/SettingsStore.h"

namespace wendmoor {

namespace {

constexpr char kKey[] = "Software\\QARN";
constexpr DWORD kValueBufferSize = 260;

class RegistrySettingsStore final : public SettingsStore {
  public:
    bool Read(const std::string& name, std::string& value) const override {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        char buffer[kValueBufferSize + 1] = {};
        DWORD size = kValueBufferSize;
        const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return false;
        value = buffer;  // up to the first zero byte, whatever the value's type
        return true;
    }

    bool Write(const std::string& name, const std::string& value) override {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const LONG result = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
};

}  // namespace

std::unique_ptr<SettingsStore> OpenDefaultSettingsStore() {
    return std::make_unique<RegistrySettingsStore>();
}

}  // namespace wendmoor
#endif
