#include "platform/DiskSpace.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {

std::optional<std::uint64_t> FreeSpaceOf(const std::string& folder) {
    // The first figure is what this user may still write, quotas included.
    std::wstring wide;
    ULARGE_INTEGER available;
    if (!ToUtf16(folder, wide) ||
        !GetDiskFreeSpaceExW(wide.c_str(), &available, nullptr, nullptr)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(available.QuadPart);
}

std::optional<std::uint64_t> FileSystemOf(const std::string& folder) {
    // The volume's serial number. Backup semantics open a folder; reading its information
    // needs no access right.
    std::wstring wide;
    if (!ToUtf16(folder, wide)) return std::nullopt;
    const HANDLE handle =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(handle, &information) != 0;
    CloseHandle(handle);
    if (!known || !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return information.dwVolumeSerialNumber;
}

}  // namespace wendmoor
