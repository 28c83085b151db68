#include "TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "ZipWriter.h"

namespace fs = std::filesystem;

namespace wendmoor::testing {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "wendmoor-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern + "/";
}

TempDir::~TempDir() {
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
}

std::string TempDir::MakeFolder(const std::string& relative) const {
    fs::create_directories(path_ + relative);
    std::string folder = path_ + relative;
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
    const std::string path = path_ + relative;
    fs::create_directories(fs::path(path).parent_path());
    if (!WriteFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string ListTree(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        std::string name = fs::relative(it->path(), folder, ignored).string();
        if (it->is_directory(ignored)) name += "/";
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}

}  // namespace wendmoor::testing
