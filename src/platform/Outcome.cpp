#include "platform/Outcome.h"

#include <cstring>

namespace wendmoor {

Outcome Outcome::Failed(std::string subject, std::string reason) {
    Outcome outcome;
    outcome.Add(std::move(subject), std::move(reason));
    return outcome;
}

Outcome Outcome::SystemError(std::string subject, int error) {
    return Failed(std::move(subject), std::strerror(error));
}

std::vector<std::string> Outcome::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(failures_.size());
    for (const Failure& failure : failures_)
        lines.push_back(failure.subject + ": " + failure.reason);
    return lines;
}

void Outcome::Add(std::string subject, std::string reason) {
    failures_.push_back({std::move(subject), std::move(reason)});
}

void Outcome::Merge(const Outcome& other) {
    failures_.insert(failures_.end(), other.failures_.begin(), other.failures_.end());
}

}  // namespace wendmoor
