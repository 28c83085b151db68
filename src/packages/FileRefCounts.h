#pragma once

#include <map>
#include <string>
#include <unordered_map>

#include "platform/Outcome.h"

namespace wendmoor {

class FileSystem;

// How many installed packages of the selected game hold each shared file, so a deinstall
// deletes a file only when no other installed package still needs it. Keys are the target
// paths lower-cased as a whole, so two spellings of one path share a count.
class FileRefCounts {
  public:
    explicit FileRefCounts(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // One more reference; returns the new count.
    int AddFileRef(std::string path);
    // One reference less. The last one deletes the file: the file at `path` itself, found
    // without regard to letter case like every file of a package (never the lower-cased key,
    // which could name a different file on a case-respecting disk). A path without a count
    // deletes nothing. Returns what failed of the deletion.
    Outcome ReleaseFileRef(std::string path);
    void RemoveAll() { counts_.clear(); }

    int CountOf(const std::string& path) const;
    // Every key with its count, ordered by key.
    std::map<std::string, int> Snapshot() const;

  private:
    FileSystem& fileSystem_;
    std::unordered_map<std::string, int> counts_;
};

}  // namespace wendmoor
