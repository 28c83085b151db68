// The finder's walk on Windows. A folder is known by its volume's serial number and its file
// index, so a junction or a link to a folder listed already lists nothing new.
#include <algorithm>
#include <cwchar>

#include "finder/FolderWalk.h"
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {

namespace {

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

// What the path is after following links: false when it leads nowhere.
bool InformationOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& information) {
    // Backup semantics open folders too; no access right is needed to read the information.
    std::wstring wide;
    if (!ToUtf16(path, wide)) return false;
    const HANDLE file =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    return known;
}

}  // namespace

bool FolderWalk::IsFolder(const std::string& path) {
    std::wstring wide;
    if (!ToUtf16(path, wide)) return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderWalk::ListOnce(const std::string& folder, Listing& listing) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!InformationOf(folder, information) ||
        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    const std::uint64_t index =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    if (!seen_.emplace(information.dwVolumeSerialNumber, index).second) return false;
    return List(folder, listing);
}

bool FolderWalk::List(const std::string& folder, Listing& listing) {
    listing = {};
    if (listings_ >= maxListings_) {
        stoppedEarly_ = true;
        return false;
    }
    ++listings_;
    const std::string prefix = WithSeparator(folder);
    std::wstring pattern;
    if (!ToUtf16(prefix + "*", pattern)) return false;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    std::size_t entries = 0;
    do {
        if (++entries > kMaxEntries) {
            stoppedEarly_ = true;
            break;
        }
        if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) {
            continue;
        }
        const std::string name = ToUtf8(found.cFileName);
        DWORD attributes = found.dwFileAttributes;
        // A link counts as what it points to, a dangling one as nothing.
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            BY_HANDLE_FILE_INFORMATION information;
            if (!InformationOf(prefix + name, information)) continue;
            attributes = information.dwFileAttributes;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            listing.folders.push_back(name);
        } else if (!(attributes & FILE_ATTRIBUTE_DEVICE)) {
            listing.files.push_back(name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    // Sorted, so what is found and in which order never depends on the file system's order.
    std::sort(listing.folders.begin(), listing.folders.end());
    std::sort(listing.files.begin(), listing.files.end());
    return true;
}

}  // namespace wendmoor
