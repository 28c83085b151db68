#include "TempDir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "ZipWriter.h"
#include "platform/Path.h"

#ifdef _WIN32
#include "platform/windows/Utf16.h"
#include "platform/windows/WindowsApi.h"
#else
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
#endif

namespace wendmoor::testing {

namespace {

// Creates each folder along the path that ends at a separator from `from` on.
void MakeFoldersAlong(const std::string& path, std::size_t from) {
    for (auto end = path.find(kPathSeparator, from); end != std::string::npos;
         end = path.find(kPathSeparator, end + 1)) {
#ifdef _WIN32
        std::wstring wide;
        if (ToUtf16(path.substr(0, end), wide)) CreateDirectoryW(wide.c_str(), nullptr);
#else
        ::mkdir(path.substr(0, end).c_str(), 0777);
#endif
    }
}

#ifdef _WIN32
// Calls visit(path, name, isFolder) for everything below the folder (given with "\"), a folder
// after what it holds; `name` is relative to the walk's start, with "/".
template <typename Visit>
void ForEachBelow(const std::string& folder, const std::string& prefix, Visit visit) {
    WIN32_FIND_DATAW found;
    std::wstring pattern;
    if (!ToUtf16(folder + "*", pattern)) return;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = ToUtf8(found.cFileName);
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name == "." || name == "..") continue;
        if (isFolder) ForEachBelow(folder + name + "\\", prefix + name + "/", visit);
        visit(folder + name, prefix + name, isFolder);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
#endif

}  // namespace

TempDir::TempDir() {
#ifdef _WIN32
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    const std::wstring stem =
        temporary + (L"wendmoor-test-" + std::to_wstring(GetCurrentProcessId()) + L"-");
    for (int attempt = 0; path_.empty() && attempt < 1000; ++attempt) {
        const std::wstring candidate = stem + std::to_wstring(attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) path_ = ToUtf8(candidate) + "\\";
    }
    if (path_.empty()) throw std::runtime_error("cannot make a test folder");
#else
    std::string pattern = (fs::temp_directory_path() / "wendmoor-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern + "/";
#endif
}

TempDir::~TempDir() {
#ifdef _WIN32
    ForEachBelow(path_, "", [](const std::string& path, const std::string&, bool isFolder) {
        std::wstring wide;
        if (!ToUtf16(path, wide)) return;
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);  // tests make files read-only
        (isFolder ? RemoveDirectoryW : DeleteFileW)(wide.c_str());
    });
    std::wstring wide;
    if (ToUtf16(path_, wide)) RemoveDirectoryW(wide.c_str());
#else
    std::error_code ignored;
    // Tests make folders read-only on purpose; give them back their rights first.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
#endif
}

std::string TempDir::At(const std::string& relative) const {
    std::string native = relative;
    std::replace(native.begin(), native.end(), '/', kPathSeparator);
    return path_ + native;
}

std::string TempDir::MakeFolder(const std::string& relative) const {
    std::string folder = At(relative);
    if (folder.back() != kPathSeparator) folder += kPathSeparator;
    MakeFoldersAlong(folder, path_.size());
    return folder;
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
    const std::string path = At(relative);
    MakeFoldersAlong(path, path_.size());
    if (!WriteFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string WriteLeftover(const std::string& path, const std::string& bytes) {
    const bool folder = path.back() == '/' || path.back() == kPathSeparator;
    const std::filesystem::path at =
        std::filesystem::u8path(folder ? path.substr(0, path.size() - 1) : path);
    std::filesystem::create_directories(folder ? at : at.parent_path());
    if (folder) return path;  // a folder's time is nothing a sweep goes by
    if (!WriteFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
    std::filesystem::last_write_time(
        at, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    return path;
}

std::string ListTree(const std::string& folder) {
    std::vector<std::string> names;
#ifdef _WIN32
    const bool withSeparator = folder.back() == '\\' || folder.back() == '/';
    ForEachBelow(withSeparator ? folder : folder + "\\", "",
                 [&](const std::string&, const std::string& name, bool isFolder) {
                     names.push_back(name + (isFolder ? "/" : ""));
                 });
#else
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        std::string name = fs::relative(it->path(), folder, ignored).string();
        if (it->is_directory(ignored)) name += "/";
        names.push_back(name);
    }
#endif
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}

}  // namespace wendmoor::testing
