#include <algorithm>

#include "platform/ReadOnlyFile.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {

namespace {

// Names inside the program are UTF-8; the system takes UTF-16, so that every name works
// whatever the ANSI code page. Empty for bytes that are no valid UTF-8.
std::wstring WideName(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), length);
    return wide;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

Outcome ReadOnlyFile::Open(const std::string& path) {
    Close();
    path_ = path;
    const std::wstring wide = WideName(path);
    if (wide.empty()) {
        failure_ = Failure::Missing;
        return WindowsFailure(path, ERROR_INVALID_NAME);
    }
    // Others may read, write, rename and delete it meanwhile, as on Linux.
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder cannot be opened as a file: it is there, but no file.
        if (error == ERROR_ACCESS_DENIED && IsFolder(wide)) {
            failure_ = Failure::NotAFile;
            return Outcome::Failed(path, "is not a regular file");
        }
        failure_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Failure::Missing
                                                                                  : Failure::Other;
        return WindowsFailure(path, error);
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        failure_ = Failure::Other;
        return WindowsFailure(path, error);
    }
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        failure_ = Failure::NotAFile;
        return Outcome::Failed(path, "is not a regular file");
    }
    handle_ = handle;
    open_ = true;
    failure_ = Failure::None;
    size_ =
        (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    identity_ = {
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
    return {};
}

void ReadOnlyFile::Close() {
    if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    open_ = false;
    size_ = 0;
    identity_ = {};
}

Outcome ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size,
                             std::size_t& got) const {
    got = 0;
    if (!open_) return WindowsFailure(path_, ERROR_INVALID_HANDLE);
    // Stopping at the known size saves the read that would only find the end.
    if (offset >= size_) return {};
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset));
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (got < size) {
        const std::uint64_t at = offset + got;
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(at & 0xffffffffu);
        position.OffsetHigh = static_cast<DWORD>(at >> 32);
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(static_cast<HANDLE>(handle_), bytes + got, want, &read, &position)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) break;  // the file shrank since it was opened
            return WindowsFailure(path_, error);
        }
        if (read == 0) break;
        got += read;
    }
    return {};
}

}  // namespace wendmoor
