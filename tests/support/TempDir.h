#pragma once

#include <string>

namespace wendmoor::testing {

// A fresh folder under the system's temporary folder (inside the Wine prefix under Wine),
// removed with everything in it when the object goes. path() ends with the separator, like
// every configured folder. Relative names are written with "/", which becomes the platform's
// separator.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of a name below the folder, whether or not it exists.
    std::string At(const std::string& relative) const;
    // Creates a sub-folder (and its parents); returns its path with a trailing separator.
    std::string MakeFolder(const std::string& relative) const;
    // Writes a file below the folder, making its folders; returns its path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

  private:
    std::string path_;
};

// The names in a folder and its sub-folders, sorted, one a line, relative to the folder with
// "/" on every platform; sub-folders end with "/".
std::string ListTree(const std::string& folder);

// A temporary file name of ours as a process that ran no more made it.
inline constexpr const char* kDeadProcessTemporaryName = ".wendmoor-4000000000-a1B2c3";
// Writes the file as it would lie after a kill an hour ago (or makes the folder, for a path
// ending in "/"); returns its path.
std::string WriteLeftover(const std::string& path, const std::string& bytes = "left");

}  // namespace wendmoor::testing
