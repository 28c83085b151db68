#include <cstdlib>

#include "platform/ProgramArguments.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"

// After windows.h, whose types it uses.
#include <shellapi.h>

namespace wendmoor {

namespace {

UINT consoleCodePageAtStart = 0;

void RestoreConsoleCodePage() {
    if (consoleCodePageAtStart != 0) SetConsoleOutputCP(consoleCodePageAtStart);
}

}  // namespace

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return arguments;
    // The first is the program's own name.
    for (int i = 1; i < count; ++i) arguments.push_back(ToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::string EnvironmentVariable(const char* name) {
    std::wstring wideName;
    if (!ToUtf16(name, wideName)) return {};
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) {
            value.resize(length);
            return ToUtf8(value);
        }
        value.resize(length);  // the size it needs, with its terminating zero
    }
}

void UseUtf8Console() {
    // The console keeps its code page after the program ends; the player's is put back.
    const UINT current = GetConsoleOutputCP();
    if (current == 0 || current == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    consoleCodePageAtStart = current;
    std::atexit(RestoreConsoleCodePage);
}

}  // namespace wendmoor
