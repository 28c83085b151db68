#include "TestFolder.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/windows/WindowsApi.h"

namespace wendmoor::testing {

namespace {

template <typename Visit>
void ForEachName(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") visit(name, found.dwFileAttributes);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveTree(const std::string& folder) {
    ForEachName(folder, [&](const std::string& name, DWORD attributes) {
        const std::string path = folder + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path + "\\");
        } else {
            DeleteFileA(path.c_str());
        }
    });
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TestFolder::TestFolder() {
    char temporary[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof temporary, temporary) == 0) throw std::runtime_error("GetTempPath");
    for (unsigned attempt = 0; path_.empty(); ++attempt) {
        const std::string candidate = std::string(temporary) + "wendmoor-test-" +
                                      std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(GetTickCount64() + attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate + "\\";
        if (attempt > 100) throw std::runtime_error("cannot make a test folder");
    }
}

TestFolder::~TestFolder() {
    RemoveTree(path_);
}

std::string TestFolder::MakeFolder(const std::string& relative) const {
    std::string folder = path_;
    for (std::size_t start = 0; start < relative.size();) {
        const std::size_t end = std::min(relative.find('\\', start), relative.size());
        folder += relative.substr(start, end - start) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        start = end + 1;
    }
    return folder;
}

std::string TestFolder::Write(const std::string& relative, const std::string& bytes) const {
    const auto cut = relative.rfind('\\');
    if (cut != std::string::npos) MakeFolder(relative.substr(0, cut));
    const std::string path = path_ + relative;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot write " + path);
    return path;
}

std::optional<std::string> TestFolder::Read(const std::string& relative) const {
    const HANDLE file = CreateFileA((path_ + relative).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

std::string TestFolder::List(const std::string& relative) const {
    std::string folder = path_ + relative;
    if (folder.back() != '\\') folder += '\\';
    std::vector<std::string> names;
    ForEachName(folder, [&](const std::string& name, DWORD attributes) {
        names.push_back(name + (attributes & FILE_ATTRIBUTE_DIRECTORY ? "\\" : ""));
    });
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}

}  // namespace wendmoor::testing
