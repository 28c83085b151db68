#pragma once

#include <string>
#include <vector>

namespace wendmoor {

// What went wrong in one operation of the file and package layers, item by item with the
// reason; no failures means the whole operation was done. Every step hands back its outcome
// and a command collects those of its steps, so success is never guessed from the disk
// afterwards.
class [[nodiscard]] Outcome {
  public:
    struct Failure {
        std::string subject;  // what failed: a path, an entry or a package name
        std::string reason;
    };

    Outcome() = default;
    static Outcome Failed(std::string subject, std::string reason);
    // A failed system call: the reason is the system's text for `error` (an errno value).
    static Outcome SystemError(std::string subject, int error);

    bool Ok() const { return failures_.empty(); }
    const std::vector<Failure>& Failures() const { return failures_; }

    // One line per failure: "subject: reason".
    std::vector<std::string> Lines() const;

    void Add(std::string subject, std::string reason);
    void Merge(const Outcome& other);

  private:
    std::vector<Failure> failures_;
};

}  // namespace wendmoor
