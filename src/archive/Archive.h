#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/StoredName.h"
#include "archive/ZipDirectory.h"
#include "platform/Outcome.h"
#include "platform/ReadOnlyFile.h"

namespace wendmoor {

class FileSystem;
class FileReplacement;
class CommandProgress;
class EntryReader;

// An open mission archive. It opens exactly the named file (never "name.zip" in its place)
// and reads and checks its directory once (see ReadZipDirectory); the entries are read from
// the records of that directory. Closes the file when destroyed.
class Archive {
  public:
    // Null when the file cannot be read or holds no archive whose directory checks out;
    // `failure`, when given, then tells why: the system's reason for a file that cannot be
    // read.
    static std::unique_ptr<Archive> Open(const std::string& path, Outcome* failure = nullptr);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // The entry names as the central directory means them (UTF-8, see DecodeEntryName), in
    // its order.
    std::vector<std::string> EntryNames() const;
    const std::vector<ZipEntryRecord>& Records() const { return records_; }

    // The directory record of the entry that ExtractEntry picks for this name; nullptr when
    // none matches: the first whose name after its last "/" equals the name after its last
    // "/", without regard to letter case (FoldCase) and with "\" taken as "/". An index
    // answers it in constant time.
    const ZipEntryRecord* RecordFor(const std::string& entryName) const;

  private:
    friend Outcome WriteEntry(Archive& archive, const std::string& entryName,
                              FileReplacement& output, CommandProgress* progress);

    Archive() = default;

    ReadOnlyFile file_;
    std::vector<ZipEntryRecord> records_;
    // (hash of the folded file name, record index), in that order; built on the first lookup.
    // Smaller than a map of the names, as an install holds it for thousands of entries.
    mutable std::vector<std::pair<std::size_t, std::uint32_t>> byFileName_;
    // Made on the first extraction; a listing never needs it.
    std::unique_ptr<EntryReader> entries_;
    std::vector<unsigned char> copyBuffer_;
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

// What ReadStoredNames found in a file.
struct StoredNames {
    // Fails, with the system's reason, when the file cannot be opened or read: a package that
    // must be named, not passed over. A file that reads but holds no ZIP archive whose
    // directory checks out is no failure: it is simply no package.
    Outcome unreadable;
    bool isArchive = false;
    // The stored names of its entries (see StoredNameOf), in archive order, duplicates kept;
    // entries that have none are left out.
    std::vector<std::string> names;
};

// The stored names of an archive's entries. With `earlier`, also the names that differ from
// the stored name of the entry's undecoded bytes.
StoredNames ReadStoredNames(const std::string& archivePath, EarlierSpellings* earlier = nullptr);

// The stored names a game's classifier sorts; nothing when the file holds no archive. Why the
// file could not be read goes to `unreadable` when given.
std::optional<std::vector<std::string>> NamesToClassify(const std::string& archivePath,
                                                        EarlierSpellings* earlier,
                                                        Outcome* unreadable);

}  // namespace wendmoor
