#include "packages/FileRefCounts.h"

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"

namespace wendmoor {

int FileRefCounts::AddFileRef(std::string path) {
    return ++counts_[FoldCase(path)];
}

Outcome FileRefCounts::ReleaseFileRef(std::string path, const std::string& onDisk) {
    const auto found = counts_.find(FoldCase(path));
    if (found == counts_.end()) return {};
    if (--found->second > 0) return {};
    counts_.erase(found);
    return fileSystem_.DeleteFile(onDisk.empty() ? path : onDisk);
}

int FileRefCounts::CountOf(const std::string& path) const {
    const auto found = counts_.find(FoldCase(path));
    return found == counts_.end() ? 0 : found->second;
}

std::map<std::string, int> FileRefCounts::Snapshot() const {
    return {counts_.begin(), counts_.end()};
}

}  // namespace wendmoor
