#pragma once

#include <map>
#include <string>
#include <unordered_map>

#include "platform/Outcome.h"

namespace wendmoor {

class FileSystem;

// How many installed packages of the selected game hold each shared file, so a deinstall
// deletes a file only when no other installed package still needs it. Keys are the target
// paths case-folded as a whole (FoldCase), so two spellings of one path share a count.
class FileRefCounts {
  public:
    explicit FileRefCounts(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // One more reference; returns the new count.
    int AddFileRef(std::string path);
    // One reference less. The last one deletes the file: the file at `path` itself, found
    // without regard to letter case like every file of a package (never the folded key, which
    // could name a different file on a case-respecting disk), or at `onDisk` when given: the
    // spelling the file was found under (an earlier version's, see PackagePlan::Step). A path
    // without a count deletes nothing. Returns what failed of the deletion.
    Outcome ReleaseFileRef(std::string path, const std::string& onDisk = {});
    void RemoveAll() { counts_.clear(); }

    int CountOf(const std::string& path) const;
    // Every key with its count, ordered by key.
    std::map<std::string, int> Snapshot() const;

  private:
    FileSystem& fileSystem_;
    std::unordered_map<std::string, int> counts_;
};

}  // namespace wendmoor
