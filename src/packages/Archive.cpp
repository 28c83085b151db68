#include "packages/Archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cstring>

#include "packages/ArchiveIo.h"
#include "packages/CommandProgress.h"
#include "packages/StoredName.h"
#include "platform/FileSystem.h"
#include "platform/StopRequest.h"

namespace wendmoor {

namespace {

constexpr int kLookupFlags = ZZIP_CASELESS | ZZIP_NOPATHS;
constexpr std::size_t kCopyBufferSize = 8192;

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// Our own reading of the directory guards the archive library's; both must agree on every name
// in order, or the names we checked would not be the names it extracts.
bool LibrarySeesTheSameEntries(ZZIP_DIR* dir, const std::vector<ZipEntryRecord>& records) {
    zzip_rewinddir(dir);
    ZZIP_DIRENT entry;
    std::size_t index = 0;
    while (zzip_dir_read(dir, &entry)) {
        if (index == records.size() || records[index].name != entry.d_name) return false;
        ++index;
    }
    zzip_rewinddir(dir);
    return index == records.size();
}

// A name as zziplib's caseless lookup without paths compares it: the part after the last "/",
// with A to Z folded to lower case and "\" taken as "/".
std::string FoldedFileName(std::string_view name) {
    const auto slash = name.rfind('/');
    std::string folded(slash == std::string_view::npos ? name : name.substr(slash + 1));
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c == '\\') c = '/';
    }
    return folded;
}

struct EntryCloser {
    void operator()(ZZIP_FILE* entry) const { zzip_file_close(entry); }
};

}  // namespace

std::unique_ptr<Archive> Archive::Open(const std::string& path) {
    // O_NONBLOCK keeps a FIFO in the missions folder from stalling the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    // O_NONBLOCK has no effect on the reads of a regular file, so it may stay set.
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::optional<ZipDirectory> directory =
        ReadZipDirectory(fd, static_cast<std::uint64_t>(info.st_size));
    if (!directory) {
        ::close(fd);
        return nullptr;
    }
    std::vector<ZipEntryRecord> records = std::move(directory->records);
    zzip_error_t error = ZZIP_NO_ERROR;
    ZZIP_DIR* dir = OpenZzipDirectory(fd, info.st_size, directory->tailOffset,
                                      std::move(directory->tail), &error);
    if (dir == nullptr || error != ZZIP_NO_ERROR) {
        if (dir != nullptr) zzip_dir_close(dir);
        // zziplib closes the descriptor of a directory it failed to parse, but not always.
        if (::fcntl(fd, F_GETFD) != -1) ::close(fd);
        return nullptr;
    }
    if (!LibrarySeesTheSameEntries(dir, records)) {
        zzip_dir_close(dir);
        return nullptr;
    }
    return std::unique_ptr<Archive>(new Archive(dir, std::move(records)));
}

Archive::~Archive() {
    zzip_dir_close(dir_);
}

std::vector<std::string> Archive::EntryNames() const {
    // Open() walked zziplib's entries once and found them equal, name by name and in order, to
    // the records; a second walk would deliver the same names again.
    std::vector<std::string> names;
    names.reserve(records_.size());
    for (const ZipEntryRecord& record : records_) names.push_back(record.name);
    return names;
}

const ZipEntryRecord* Archive::RecordFor(const std::string& entryName) const {
    if (firstByFileName_.empty()) {
        firstByFileName_.reserve(records_.size());
        for (std::size_t i = 0; i < records_.size(); ++i) {
            firstByFileName_.emplace(FoldedFileName(records_[i].name), i);
        }
    }
    const auto found = firstByFileName_.find(FoldedFileName(entryName));
    return found == firstByFileName_.end() ? nullptr : &records_[found->second];
}

bool Archive::HasSoundLocalHeader(const ZipEntryRecord& record) const {
    std::array<unsigned char, kLocalHeaderSize> header;
    const ssize_t got = ::pread(zzip_dirfd(dir_), header.data(), header.size(),
                                static_cast<off_t>(record.localHeaderOffset));
    if (got != static_cast<ssize_t>(header.size())) return false;
    const auto le16 = [&](std::size_t at) { return header[at] | (header[at + 1] << 8); };
    const std::uint32_t signature =
        static_cast<std::uint32_t>(le16(0)) | (static_cast<std::uint32_t>(le16(2)) << 16);
    const std::uint64_t dataEnd = record.localHeaderOffset + kLocalHeaderSize +
                                  static_cast<std::uint64_t>(le16(26)) +
                                  static_cast<std::uint64_t>(le16(28)) + record.compressedSize;
    return signature == kLocalSignature && dataEnd <= record.dataLimit;
}

Outcome WriteEntry(Archive& archive, const std::string& entryName, FileReplacement& output,
                   CommandProgress* progress) {
    const std::string& target = output.Target();
    const ZipEntryRecord* record = archive.RecordFor(entryName);
    if (record == nullptr) return Outcome::Failed(entryName, "is not in the archive");
    if (record->IsEncrypted()) return Outcome::Failed(entryName, "is encrypted");
    if (record->method != kMethodStored && record->method != kMethodDeflated) {
        return Outcome::Failed(entryName, "is packed with an unsupported method (" +
                                              std::to_string(record->method) + ")");
    }
    if ((record->method == kMethodStored && record->compressedSize != record->size) ||
        !archive.HasSoundLocalHeader(*record)) {
        return Outcome::Failed(entryName, "is damaged (its headers disagree)");
    }

    std::unique_ptr<ZZIP_FILE, EntryCloser> entry(
        zzip_file_open(archive.Handle(), entryName.c_str(), kLookupFlags));
    if (!entry) return Outcome::Failed(entryName, "cannot be opened in the archive");
    ZZIP_STAT opened{};
    // The entry zziplib opened must be the one checked above.
    if (zzip_file_stat(entry.get(), &opened) != 0 ||
        static_cast<std::uint64_t>(static_cast<unsigned>(opened.st_size)) != record->size ||
        static_cast<std::uint64_t>(static_cast<unsigned>(opened.d_csize)) !=
            record->compressedSize) {
        return Outcome::Failed(entryName, "is damaged (its headers disagree)");
    }
    if (!output.IsOpen()) return output.OpenOutcome();

    std::array<char, kCopyBufferSize> buffer;
    std::uint64_t copied = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        if (StopRequested()) return Outcome::Failed(target, "stopped by a signal");
        if (progress != nullptr && progress->CancelRequested()) {
            return Outcome::Failed(target, "cancelled");
        }
        const zzip_ssize_t got = zzip_file_read(entry.get(), buffer.data(), buffer.size());
        if (got < 0) return Outcome::Failed(entryName, "is damaged (its data cannot be read)");
        if (got == 0) break;
        copied += static_cast<std::uint64_t>(got);
        if (copied > record->size) {
            return Outcome::Failed(entryName, "is damaged (longer than recorded)");
        }
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
        if (!output.Write(buffer.data(), static_cast<std::size_t>(got))) return output.Finish();
        if (progress != nullptr) progress->AddBytes(static_cast<std::uint64_t>(got));
    }
    // Damaged data can inflate to the full length without an error; only the recorded
    // length and checksum tell.
    if (copied != record->size)
        return Outcome::Failed(entryName, "is damaged (shorter than recorded)");
    if (crc != record->crc32) return Outcome::Failed(entryName, "is damaged (checksum mismatch)");
    return output.Finish();
}

Outcome ExtractEntry(Archive& archive, const std::string& entryName, const std::string& destination,
                     FileSystem& fileSystem) {
    FileReplacement output(fileSystem, destination);
    if (Outcome written = WriteEntry(archive, entryName, output); !written.Ok()) return written;
    return output.Commit();
}

bool ReadStoredNames(const std::string& archivePath, std::vector<std::string>& storedNames) {
    const std::unique_ptr<Archive> archive = Archive::Open(archivePath);
    if (!archive) return false;
    for (const std::string& entryName : archive->EntryNames()) {
        if (auto stored = StoredNameOf(entryName)) storedNames.push_back(std::move(*stored));
    }
    return true;
}

}  // namespace wendmoor
