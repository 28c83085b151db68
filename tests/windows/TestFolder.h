#pragma once

#include <optional>
#include <string>

namespace wendmoor::testing {

// A fresh folder in the system's temporary folder (inside the Wine prefix when run under
// Wine), removed with everything in it when the object goes. path() ends with "\".
class TestFolder {
  public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    // Creates a sub-folder and its parents; returns its path with "\".
    std::string MakeFolder(const std::string& relative) const;
    // Writes a file, making its folders; returns its path.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::optional<std::string> Read(const std::string& relative) const;
    // The names in a sub-folder ("" for the folder itself), sorted, one a line; folders end
    // with "\".
    std::string List(const std::string& relative = {}) const;

  private:
    std::string path_;
};

}  // namespace wendmoor::testing
