#include <algorithm>

#include "platform/ReadOnlyFile.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsError.h"

namespace wendmoor {

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

Outcome ReadOnlyFile::Open(const std::string& path) {
    Close();
    path_ = path;
    // A name that is no valid UTF-8 names no file the system could hold.
    std::wstring wide;
    if (!ToUtf16(path, wide) || wide.empty()) {
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
            return Outcome::Failed(path, "is a folder, not a file");
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
