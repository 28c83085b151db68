// The settings store on Windows: string values under HKEY_LOCAL_MACHINE\Software\QARN.
//
// Values pass through the ...A functions, which convert between the ANSI code page and the
// registry's UTF-16. A path's bytes come back as they were written as long as they are text in
// that code page, which every folder the system names is; a byte sequence the code page cannot
// decode (possible in the multi-byte code pages) would not survive, and no folder has one.
#include "platform/RegistrySettingsStore.h"

#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {

namespace {

// The key as 32-bit programs see it, so that a 32-bit and a 64-bit build share one set of
// settings (on 64-bit Windows, 32-bit programs see HKLM\Software under WOW6432Node).
constexpr REGSAM kView = KEY_WOW64_32KEY;

std::string TypeName(DWORD type) {
    switch (type) {
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_QWORD:
            return "REG_QWORD";
        case REG_BINARY:
            return "REG_BINARY";
        default:
            return "type " + std::to_string(type);
    }
}

class RegistrySettingsStore final : public SettingsStore {
  public:
    RegistrySettingsStore(HKEY root, std::string key) : root_(root), key_(std::move(key)) {}

    bool Read(const std::string& name, std::string& value) const override {
        DWORD type = REG_NONE;
        std::string data;
        if (Query(name, type, data) != ERROR_SUCCESS || type != REG_SZ) return false;
        // A string ends at its first zero byte; one stored without any is taken whole.
        value = data.substr(0, data.find('\0'));
        return true;
    }

    std::string WhyUnreadable(const std::string& name) const override {
        DWORD type = REG_NONE;
        std::string data;
        const LONG result = Query(name, type, data);
        if (result == ERROR_SUCCESS && type != REG_SZ) {
            return name + ": not used, a " + TypeName(type) +
                   " value; a folder is a string value (REG_SZ)";
        }
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
            return name + ": cannot be read: " +
                   WindowsFailure(key_, static_cast<DWORD>(result)).Failures().front().reason;
        }
        return {};
    }

    bool Write(const std::string& name, const std::string& value) override {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_SET_VALUE | kView, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const LONG result = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }

  private:
    // The value's type and all of its bytes, however long. Reading needs no write access, so
    // a user who may not change the machine's settings still has them.
    LONG Query(const std::string& name, DWORD& type, std::string& data) const {
        HKEY key = nullptr;
        LONG result = RegOpenKeyExA(root_, key_.c_str(), 0, KEY_QUERY_VALUE | kView, &key);
        if (result != ERROR_SUCCESS) return result;
        DWORD size = 0;
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
        // The size may change between the calls when another program writes the value.
        for (int attempt = 0; result == ERROR_SUCCESS || result == ERROR_MORE_DATA; ++attempt) {
            data.assign(size, '\0');
            result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
            if (result == ERROR_SUCCESS) {
                data.resize(size);
                break;
            }
            if (attempt == 3) break;
        }
        RegCloseKey(key);
        return result;
    }

    HKEY root_;
    std::string key_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenRegistrySettingsStore(RegistryRoot root,
                                                         const std::string& key) {
    return std::make_unique<RegistrySettingsStore>(
        root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key);
}

std::unique_ptr<SettingsStore> OpenDefaultSettingsStore() {
    return OpenRegistrySettingsStore(RegistryRoot::LocalMachine, "Software\\QARN");
}

}  // namespace wendmoor
