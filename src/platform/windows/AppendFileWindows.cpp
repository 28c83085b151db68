#include "platform/AppendFile.h"

#include <algorithm>

#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {

Outcome AppendFile::Create(const std::string& path) {
    Close();
    path_ = path;
    std::wstring wide;
    if (Outcome named = ToUtf16(path, wide, path); !named.Ok()) return named;
    const HANDLE file = CreateFileW(wide.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WindowsFailure(path, GetLastError());
    handle_ = file;
    open_ = true;
    return {};
}

void AppendFile::Close() {
    if (open_) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    open_ = false;
}

Outcome AppendFile::Append(const std::string& bytes, bool durable) {
    if (!open_) return Outcome::Failed(path_, "is not open");
    const HANDLE file = static_cast<HANDLE>(handle_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr)) {
            return WindowsFailure(path_, GetLastError());
        }
        if (written == 0) return WindowsFailure(path_, ERROR_DISK_FULL);
        done += written;
    }
    return durable ? Sync() : Outcome();
}

Outcome AppendFile::Sync() {
    if (!open_) return Outcome::Failed(path_, "is not open");
    if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) {
        return WindowsFailure(path_, GetLastError());
    }
    return {};
}

}  // namespace wendmoor
