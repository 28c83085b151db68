// The settings store on Windows: string values under Software\QARN of the current user, over
// the same key of the local machine.
//
// The registry keeps strings in UTF-16; the ...W functions take and give them as such, and the
// values are UTF-8 in the program, so every folder name survives whatever the ANSI code page,
// and a value an older tool stored reads back as the same text. A value that is not valid
// UTF-8 is refused when written rather than stored as another text.
#include "platform/windows/RegistrySettingsStore.h"

#include <algorithm>
#include <set>

#include "platform/Path.h"
#include "platform/windows/Utf16.h"
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

// The value as REG_SZ data. A zero byte inside stays one, so the value reads back up to it as
// any registry string does.
bool StoredText(const std::string& value, std::wstring& data) {
    data.clear();
    for (std::size_t start = 0;;) {
        const std::size_t end = value.find('\0', start);
        std::wstring part;
        if (!ToUtf16(value.substr(start, end - start), part)) return false;
        data += part;
        if (end == std::string::npos) return true;
        data += L'\0';
        start = end + 1;
    }
}

// A string up to its first zero, and whether it is whole UTF-16: a lone surrogate, which only a
// program writing raw data can leave, would become U+FFFD and so name another folder.
std::wstring UpToZero(const std::wstring& data) {
    return data.substr(0, data.find(L'\0'));
}

bool IsWholeUtf16(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (unit >= 0xdc00 && unit <= 0xdfff) return false;
        if (unit < 0xd800 || unit > 0xdbff) continue;
        if (i + 1 == text.size() || text[i + 1] < 0xdc00 || text[i + 1] > 0xdfff) return false;
        ++i;
    }
    return true;
}

struct Place {
    HKEY root;
    const char* name;
};
const Place kUser{HKEY_CURRENT_USER, "HKEY_CURRENT_USER\\"};
const Place kMachine{HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\"};

class RegistrySettingsStore final : public SettingsStore {
  public:
    // A key that is not valid UTF-8 (or empty) is never opened: the subkey would otherwise
    // name the root itself.
    explicit RegistrySettingsStore(std::string key) : key_(std::move(key)) {
        ToUtf16(key_, wideKey_);
    }

    bool Read(const std::string& name, std::string& value) const override {
        DWORD type = REG_NONE;
        std::wstring data;
        if (Query(name, type, data, nullptr) != ERROR_SUCCESS || type != REG_SZ) return false;
        // A string ends at its first zero; one stored without any is taken whole.
        const std::wstring text = UpToZero(data);
        if (!IsWholeUtf16(text)) return false;
        value = ToUtf8(text);
        return true;
    }

    std::string WhyUnreadable(const std::string& name) const override {
        DWORD type = REG_NONE;
        std::wstring data;
        const Place* from = nullptr;
        const LONG result = Query(name, type, data, &from);
        if (result == ERROR_SUCCESS && type != REG_SZ) {
            return name + ": not used, a " + TypeName(type) +
                   " value; a folder is a string value (REG_SZ)";
        }
        if (result == ERROR_SUCCESS && !IsWholeUtf16(UpToZero(data))) {
            return name + ": not used, it holds a lone UTF-16 surrogate, which is no text";
        }
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
            const std::string subject = std::string(from->name) + key_;
            return name + ": cannot be read: " +
                   WindowsFailure(subject, static_cast<DWORD>(result)).Failures().front().reason;
        }
        return {};
    }

    std::vector<std::string> UnknownNames(const std::vector<std::string>& known) const override {
        std::set<std::string> names;
        for (const Place* place : {&kUser, &kMachine}) {
            HKEY key = nullptr;
            if (wideKey_.empty() || RegOpenKeyExW(place->root, wideKey_.c_str(), 0,
                                                  KEY_QUERY_VALUE | kView, &key) != ERROR_SUCCESS) {
                continue;
            }
            std::wstring name(16384, L'\0');  // the longest value name the registry allows
            for (DWORD index = 0;; ++index) {
                DWORD length = static_cast<DWORD>(name.size());
                if (RegEnumValueW(key, index, name.data(), &length, nullptr, nullptr, nullptr,
                                  nullptr) != ERROR_SUCCESS) {
                    break;
                }
                const std::wstring found = name.substr(0, length);
                if (!found.empty() && IsWholeUtf16(found)) names.insert(ToUtf8(found));
            }
            RegCloseKey(key);
        }
        // The registry finds a value under any letter case of its name.
        std::erase_if(names, [&](const std::string& name) {
            return std::any_of(known.begin(), known.end(), [&](const std::string& other) {
                return AsciiLower(name) == AsciiLower(other);
            });
        });
        return {names.begin(), names.end()};
    }

    Outcome Write(const std::string& name, const std::string& value) override {
        const std::string subject = kUser.name + key_ + "\\" + name;
        std::wstring wideName;
        std::wstring data;
        if (wideKey_.empty() || !ToUtf16(name, wideName) || !StoredText(value, data)) {
            return Outcome::Failed(subject, "not valid UTF-8 text");
        }
        HKEY key = nullptr;
        LONG result =
            RegCreateKeyExW(kUser.root, wideKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_SET_VALUE | kView, nullptr, &key, nullptr);
        if (result != ERROR_SUCCESS) return WindowsFailure(subject, static_cast<DWORD>(result));
        result = RegSetValueExW(key, wideName.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return WindowsFailure(subject, static_cast<DWORD>(result));
        return {};
    }

  private:
    // The value from the user's key, or from the machine's when the user's has none. A value
    // the user's key holds in a form that cannot be used is not looked for further: it is the
    // user's, and they hear about it.
    LONG Query(const std::string& name, DWORD& type, std::wstring& data, const Place** from) const {
        std::wstring wideName;
        if (!ToUtf16(name, wideName)) return ERROR_FILE_NOT_FOUND;
        for (const Place* place : {&kUser, &kMachine}) {
            if (from != nullptr) *from = place;
            const LONG result = QueryIn(place->root, wideName, type, data);
            if (result != ERROR_FILE_NOT_FOUND) return result;
        }
        return ERROR_FILE_NOT_FOUND;
    }

    // The value's type and all of its data, however long. Reading needs no write access, so
    // a user who may not change the machine's settings still has them.
    LONG QueryIn(HKEY root, const std::wstring& name, DWORD& type, std::wstring& data) const {
        if (wideKey_.empty()) return ERROR_FILE_NOT_FOUND;
        HKEY key = nullptr;
        LONG result = RegOpenKeyExW(root, wideKey_.c_str(), 0, KEY_QUERY_VALUE | kView, &key);
        if (result != ERROR_SUCCESS) return result;
        DWORD size = 0;
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        // The size may change between the calls when another program writes the value.
        for (int attempt = 0; result == ERROR_SUCCESS || result == ERROR_MORE_DATA; ++attempt) {
            // Whole characters; an odd last byte, which no string holds, is dropped.
            data.assign((size + 1) / sizeof(wchar_t), L'\0');
            DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
            result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &got);
            if (result == ERROR_SUCCESS) {
                data.resize(got / sizeof(wchar_t));
                break;
            }
            size = got;
            if (attempt == 3) break;
        }
        RegCloseKey(key);
        return result;
    }

    std::string key_;
    std::wstring wideKey_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenRegistrySettingsStore(const std::string& key) {
    return std::make_unique<RegistrySettingsStore>(key);
}

std::unique_ptr<SettingsStore> OpenDefaultSettingsStore() {
    return OpenRegistrySettingsStore("Software\\QARN");
}

}  // namespace wendmoor
