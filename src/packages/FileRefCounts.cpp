#include "packages/FileRefCounts.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

int FileRefCounts::AddFileRef(std::string path) {
    return ++counts_[AsciiLower(path)];
}

Outcome FileRefCounts::ReleaseFileRef(std::string path) {
    const auto found = counts_.find(AsciiLower(path));
    if (found == counts_.end()) return {};
    if (--found->second > 0) return {};
    counts_.erase(found);
    return fileSystem_.DeleteFile(path);
}

int FileRefCounts::CountOf(const std::string& path) const {
    const auto found = counts_.find(AsciiLower(path));
    return found == counts_.end() ? 0 : found->second;
}

std::map<std::string, int> FileRefCounts::Snapshot() const {
    return {counts_.begin(), counts_.end()};
}

}  // namespace wendmoor
