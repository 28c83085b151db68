#include "platform/WholeFile.h"

#include "platform/windows/WindowsApi.h"

namespace wendmoor {

namespace {

// Names are UTF-8 inside the program; the ...W functions take every name, whatever the
// system's ANSI code page.
std::wstring Wide(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength > 0 ? wideLength : 0), L'\0');
    if (wideLength > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    }
    return wide;
}

}  // namespace

WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? WholeFileRead::kMissing
                   : WholeFileRead::kFailed;
    }
    char buffer[16384];
    DWORD got = 0;
    bool failed = false;
    for (;;) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            failed = true;
            break;
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (failed) bytes.clear();
    return failed ? WholeFileRead::kFailed : WholeFileRead::kRead;
}

}  // namespace wendmoor
