#pragma once

#include <zzip/zzip.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "packages/ZipDirectory.h"
#include "platform/Outcome.h"

namespace wendmoor {

class FileSystem;
class FileReplacement;
class CommandProgress;

// An open mission archive. It opens exactly the named file (never "name.zip" in its place),
// checks its directory layout before zziplib parses it, and closes it when destroyed.
class Archive {
  public:
    static std::unique_ptr<Archive> Open(const std::string& path);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // The entry names exactly as the central directory stores them, in its order, as zziplib
    // delivers them.
    std::vector<std::string> EntryNames() const;

    ZZIP_DIR* Handle() const { return dir_; }

    // The directory record of the entry that ExtractEntry picks for this name; nullptr when
    // none matches. That is the entry zziplib's lookup by file name picks: the first whose name
    // after its last "/" equals the name after its last "/", letters A to Z taken as a to z and
    // "\" as "/". An index answers it in constant time; zziplib's own lookup is a linear scan.
    const ZipEntryRecord* RecordFor(const std::string& entryName) const;

    // Whether the entry's local header is where the directory says and its data ends before
    // the next entry's local header (or the directory), so that the archive library reads
    // nothing beyond it and no byte serves two entries.
    bool HasSoundLocalHeader(const ZipEntryRecord& record) const;

  private:
    Archive(ZZIP_DIR* dir, std::vector<ZipEntryRecord> records)
        : dir_(dir), records_(std::move(records)) {}

    ZZIP_DIR* dir_;
    std::vector<ZipEntryRecord> records_;
    // Folded file name -> index of its first record; built on the first lookup.
    mutable std::unordered_map<std::string, std::size_t> firstByFileName_;
};

// Copies one entry, looked up by its file name without regard to letter case or the folders
// it is stored under, into the replacement file and finishes it (flushed, not yet committed).
// Whatever fails (a missing, encrypted or damaged entry, a read error, a failed write, a full
// disk, a stop request) is returned with its reason; the target keeps its old bytes.
// `progress`, when given, counts the bytes written and may cancel, like a stop request.
Outcome WriteEntry(Archive& archive, const std::string& entryName, FileReplacement& output,
                   CommandProgress* progress = nullptr);

// WriteEntry into a replacement of `destination`, committed at once. The folder must exist.
Outcome ExtractEntry(Archive& archive, const std::string& entryName, const std::string& destination,
                     FileSystem& fileSystem);

// The stored names of an archive's entries (see StoredNameOf), in archive order, duplicates
// kept; entries that have none are left out. False when the archive cannot be read.
bool ReadStoredNames(const std::string& archivePath, std::vector<std::string>& storedNames);

}  // namespace wendmoor
