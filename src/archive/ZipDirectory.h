#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Outcome.h"

namespace wendmoor {

class ReadOnlyFile;

// One entry of an archive's central directory, as the archive records it.
struct ZipEntryRecord {
    std::string name;     // UTF-8, decoded as the archive means it (see DecodeEntryName)
    std::string rawName;  // the name's bytes as stored, only when they differ from `name`
    std::uint32_t crc32 = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    bool nameUnreadable = false;  // flagged UTF-8, but it is not
    std::uint64_t localHeaderOffset = 0;
    // Where the entry's data must end at the latest: the next entry's local header, or the
    // start of the central directory after the last entry.
    std::uint64_t dataLimit = 0;

    bool IsEncrypted() const { return (flags & 0x0001) != 0; }
};

// An archive's central directory as checked, with the bytes it was read from.
struct ZipDirectory {
    std::vector<ZipEntryRecord> records;
    // The file's bytes from `tailOffset` to its end: the central directory, the end record and
    // its comment, read once here.
    std::uint64_t tailOffset = 0;
    std::vector<unsigned char> tail;
};

// Reads and checks the end-of-central-directory record and the central directory of an open
// archive before any entry is read from it: every record must lie
// inside the file, the directory must hold exactly the entries the end record announces and
// nothing else, and no two entries' local header and data may share a byte. ZIP64 archives,
// archives spanning several disks, names holding a NUL byte (which other readers would cut
// short) and anything malformed give nullopt. Each name is decoded (see DecodeEntryName).
// A read the system refused also gives nullopt, and its reason in `readFailure` when given.
std::optional<ZipDirectory> ReadZipDirectory(const ReadOnlyFile& file,
                                             Outcome* readFailure = nullptr);

}  // namespace wendmoor
