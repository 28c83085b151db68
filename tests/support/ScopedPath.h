#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace wendmoor::testing {

// Replaces PATH for one test and puts the old value back afterwards, so the programs the
// launcher looks for come from a folder the test made.
class ScopedPath {
  public:
    explicit ScopedPath(const std::string& path) {
        if (const char* old = std::getenv("PATH")) saved_ = old;
        ::setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath() {
        if (saved_)
            ::setenv("PATH", saved_->c_str(), 1);
        else
            ::unsetenv("PATH");
    }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

  private:
    std::optional<std::string> saved_;
};

}  // namespace wendmoor::testing
