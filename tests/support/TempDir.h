#pragma once

#include <string>

namespace wendmoor::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. path() ends with the separator, like every configured folder.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Creates a sub-folder (and its parents); returns its path with a trailing separator.
    std::string MakeFolder(const std::string& relative) const;
    // Writes a file below the folder; returns its path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

  private:
    std::string path_;
};

// The names in a folder, sorted, "." and ".." left out; sub-folders end with "/".
std::string ListTree(const std::string& folder);

}  // namespace wendmoor::testing
