#include "packages/FileRefCounts.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace wendmoor {

int FileRefCounts::AddFileRef(std::string path) {
    return ++counts_[AsciiLower(path)];
}

int FileRefCounts::ReleaseFileRef(std::string path) {
    const auto found = counts_.find(AsciiLower(path));
    if (found == counts_.end()) return 0;
    if (found->second > 1) return --found->second;
    fileSystem_.DeleteFile(path);
    counts_.erase(found);
    return 0;
}

int FileRefCounts::CountOf(const std::string& path) const {
    const auto found = counts_.find(AsciiLower(path));
    return found == counts_.end() ? 0 : found->second;
}

std::map<std::string, int> FileRefCounts::Snapshot() const {
    return {counts_.begin(), counts_.end()};
}

}  // namespace wendmoor
