#include "archive/ZipDirectory.h"

#include <algorithm>
#include <span>

#include "archive/EntryNameDecoding.h"
#include "archive/ZipFormat.h"
#include "platform/ReadOnlyFile.h"

namespace wendmoor {

namespace {

constexpr std::size_t kMaxCommentSize = 0xffff;

// A read the system refused lands in `failure`; a short read is the file's shape, not a fault.
bool ReadAt(const ReadOnlyFile& file, std::uint64_t offset, unsigned char* buffer, std::size_t size,
            Outcome* failure) {
    std::size_t got = 0;
    Outcome read = file.ReadAt(offset, buffer, size, got);
    if (!read.Ok() && failure != nullptr) *failure = std::move(read);
    return read.Ok() && got == size;
}

// Records sharing bytes would let a small archive extract its largest entry many times over,
// past any per-entry ratio check. Ranges are checked without reading the local headers, which
// would cost one read per entry on every scan: each record owns at least its fixed local header
// and its compressed data, up to the next record's local header. That next start becomes the
// record's data limit, so the extraction check, which reads the local header anyway, can check
// the whole range, the header's name and extra field included.
bool GiveEachRecordItsOwnRange(std::vector<ZipEntryRecord>& records,
                               std::uint64_t directoryOffset) {
    std::vector<ZipEntryRecord*> byOffset;
    byOffset.reserve(records.size());
    for (ZipEntryRecord& record : records) byOffset.push_back(&record);
    std::sort(byOffset.begin(), byOffset.end(), [](const auto* a, const auto* b) {
        return a->localHeaderOffset < b->localHeaderOffset;
    });
    std::uint64_t limit = directoryOffset;
    for (auto it = byOffset.rbegin(); it != byOffset.rend(); ++it) {
        ZipEntryRecord& record = **it;
        if (record.localHeaderOffset + kLocalHeaderSize + record.compressedSize > limit) {
            return false;
        }
        record.dataLimit = limit;
        limit = record.localHeaderOffset;
    }
    return true;
}

}  // namespace

// One pass from the archive's end to its directory, in the order the format gives them (end
// record, ZIP64 locator and record, the directory's entries): each step checks the sizes and
// offsets the one before read, so it stays one function rather than passing that state around.
std::optional<ZipDirectory> ReadZipDirectory(const ReadOnlyFile& file, Outcome* readFailure) {
    const std::uint64_t fileSize = file.Size();
    if (fileSize < kEndRecordSize) return std::nullopt;

    const std::size_t tailSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize, kEndRecordSize + kMaxCommentSize));
    const std::uint64_t tailStart = fileSize - tailSize;
    std::vector<unsigned char> tail(tailSize);
    if (!ReadAt(file, tailStart, tail.data(), tail.size(), readFailure)) return std::nullopt;

    // The last end record whose comment ends inside the file.
    std::optional<std::size_t> endAt;
    for (std::size_t at = tailSize - kEndRecordSize + 1; at-- > 0;) {
        if (Le32(&tail[at]) != kEndSignature) continue;
        if (at + kEndRecordSize + Le16(&tail[at + 20]) <= tailSize) {
            endAt = at;
            break;
        }
    }
    if (!endAt) return std::nullopt;
    const unsigned char* end = &tail[*endAt];
    const std::uint16_t disk = Le16(end + 4);
    const std::uint16_t directoryDisk = Le16(end + 6);
    const std::uint16_t entriesOnDisk = Le16(end + 8);
    const std::uint16_t entries = Le16(end + 10);
    const std::uint32_t directorySize = Le32(end + 12);
    const std::uint32_t directoryOffset = Le32(end + 16);
    const std::uint64_t endOffset = tailStart + *endAt;

    if (disk != 0 || directoryDisk != 0 || entriesOnDisk != entries) return std::nullopt;
    // Values at their maximum mean "see the ZIP64 record", which is not supported.
    if (entries == 0xffff || directorySize == 0xffffffff || directoryOffset == 0xffffffff) {
        return std::nullopt;
    }
    if (*endAt >= kZip64LocatorSize &&
        Le32(&tail[*endAt - kZip64LocatorSize]) == kZip64LocatorSignature) {
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(directoryOffset) + directorySize > endOffset)
        return std::nullopt;
    if (static_cast<std::uint64_t>(entries) * kCentralHeaderSize > directorySize) {
        return std::nullopt;
    }

    // The directory usually lies inside the tail already read; otherwise the bytes from its
    // start up to the tail are read once and put in front, so the tail covers it whole.
    std::uint64_t tailOffset = tailStart;
    if (directoryOffset < tailStart) {
        std::vector<unsigned char> before(static_cast<std::size_t>(tailStart - directoryOffset));
        if (!ReadAt(file, directoryOffset, before.data(), before.size(), readFailure)) {
            return std::nullopt;
        }
        tail.insert(tail.begin(), before.begin(), before.end());
        tailOffset = directoryOffset;
    }
    const std::span<const unsigned char> directory(tail.data() + (directoryOffset - tailOffset),
                                                   directorySize);

    std::vector<ZipEntryRecord> records;
    records.reserve(entries);
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (at + kCentralHeaderSize > directory.size()) return std::nullopt;
        const unsigned char* header = &directory[at];
        if (Le32(header) != kCentralSignature) return std::nullopt;
        const std::size_t nameSize = Le16(header + 28);
        const std::size_t extraSize = Le16(header + 30);
        const std::size_t commentSize = Le16(header + 32);
        const std::size_t recordSize = kCentralHeaderSize + nameSize + extraSize + commentSize;
        if (at + recordSize > directory.size()) return std::nullopt;

        ZipEntryRecord record;
        record.flags = Le16(header + 8);
        record.method = Le16(header + 10);
        record.crc32 = Le32(header + 16);
        record.compressedSize = Le32(header + 20);
        record.size = Le32(header + 24);
        const std::uint32_t localOffset = Le32(header + 42);
        if (record.compressedSize == 0xffffffff || record.size == 0xffffffff ||
            localOffset == 0xffffffff) {
            return std::nullopt;
        }
        record.localHeaderOffset = localOffset;
        const std::string_view storedName(
            reinterpret_cast<const char*>(header + kCentralHeaderSize), nameSize);
        if (storedName.find('\0') != std::string_view::npos) return std::nullopt;
        DecodeEntryName(record, storedName, header + kCentralHeaderSize + nameSize, extraSize);
        records.push_back(std::move(record));
        at += recordSize;
    }
    // Bytes after the announced records would be read differently by different readers.
    if (at != directory.size()) return std::nullopt;
    if (!GiveEachRecordItsOwnRange(records, directoryOffset)) return std::nullopt;
    return ZipDirectory{std::move(records), tailOffset, std::move(tail)};
}

}  // namespace wendmoor
