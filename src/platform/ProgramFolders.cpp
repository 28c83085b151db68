#include "platform/ProgramFolders.h"

#ifdef _WIN32
#include "platform/windows/WindowsApi.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

#include "platform/Path.h"

namespace wendmoor {

namespace {

std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == kPathSeparator)) {
        folder.pop_back();
    }
    return folder;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '/' || last == kPathSeparator ? folder + name : folder + kPathSeparator + name;
}

// A regular file under exactly this name; the opener gets the name as it is, so another letter
// case would not do.
bool IsFile(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
#else
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

}  // namespace

std::string ExecutablePath() {
#ifdef _WIN32
    // The wide call, as the narrow one cuts long paths silently; the result is turned into the
    // ANSI code page every other path of the program is in.
    std::wstring wide(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
        if (length == 0) return {};
        if (length < wide.size()) {
            wide.resize(length);
            break;
        }
        wide.resize(wide.size() * 2);
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), path.data(), size,
                        nullptr, nullptr);
    return path;
#else
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
#endif
}

std::string InstalledDataFolder(std::string_view executablePath) {
    const std::string binFolder = WithoutTrailingSeparator(FolderOf(executablePath));
    if (binFolder.empty()) return {};
#ifdef _WIN32
    // A Windows install, or the portable folder, keeps them beside the program.
    return binFolder;
#else
    return Join(FolderOf(binFolder), std::string("share") + kPathSeparator + "wendmoor");
#endif
}

std::string FolderHoldingDataFile(const std::string& name, const std::string& startFolder,
                                  std::string_view executablePath) {
    if (IsFile(Join(startFolder, name))) return startFolder;
    const std::string dataFolder = InstalledDataFolder(executablePath);
    if (!dataFolder.empty() && IsFile(Join(dataFolder, name))) return dataFolder;
    return startFolder;
}

}  // namespace wendmoor
