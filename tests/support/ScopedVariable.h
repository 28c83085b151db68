#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace wendmoor::testing {

// Sets an environment variable of this process for one scope and puts the old value back
// afterwards: PATH, so the programs a launcher looks for come from a folder the test made, or
// the folders the program takes its settings and data from.
class ScopedVariable {
  public:
    ScopedVariable(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) saved_ = old;
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (saved_)
            ::setenv(name_.c_str(), saved_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace wendmoor::testing
