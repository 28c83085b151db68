#include "packages/Archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cstring>

#include "packages/ArchiveIo.h"
#include "packages/StoredName.h"
#include "platform/FileSystem.h"

namespace wendmoor {

namespace {

constexpr int kLookupFlags = ZZIP_CASELESS | ZZIP_NOPATHS;
// zzip_dir_stat understands only the old spelling of the same two flags.
constexpr int kStatLookupFlags = ZZIP_CASEINSENSITIVE | ZZIP_IGNOREPATH;
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

struct EntryCloser {
    void operator()(ZZIP_FILE* entry) const { zzip_file_close(entry); }
};

}  // namespace

std::unique_ptr<Archive> Archive::Open(const std::string& path) {
    // O_NONBLOCK keeps a FIFO in the missions folder from stalling the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    auto records = ReadZipDirectory(fd);
    if (!records || ::lseek(fd, 0, SEEK_SET) != 0) {
        ::close(fd);
        return nullptr;
    }
    zzip_error_t error = ZZIP_NO_ERROR;
    ZZIP_DIR* dir = OpenZzipDirectory(fd, info.st_size, &error);
    if (dir == nullptr || error != ZZIP_NO_ERROR) {
        if (dir != nullptr) zzip_dir_close(dir);
        // zziplib closes the descriptor of a directory it failed to parse, but not always.
        if (::fcntl(fd, F_GETFD) != -1) ::close(fd);
        return nullptr;
    }
    if (!LibrarySeesTheSameEntries(dir, *records)) {
        zzip_dir_close(dir);
        return nullptr;
    }
    return std::unique_ptr<Archive>(new Archive(dir, std::move(*records)));
}

Archive::~Archive() {
    zzip_dir_close(dir_);
}

std::vector<std::string> Archive::EntryNames() {
    std::vector<std::string> names;
    names.reserve(records_.size());
    zzip_rewinddir(dir_);
    ZZIP_DIRENT entry;
    while (zzip_dir_read(dir_, &entry)) names.emplace_back(entry.d_name);
    return names;
}

const ZipEntryRecord* Archive::RecordNamed(const char* storedName) const {
    for (const ZipEntryRecord& record : records_) {
        // zziplib keeps names as C strings, so compare them as it sees them.
        if (std::strcmp(record.name.c_str(), storedName) == 0) return &record;
    }
    return nullptr;
}

const ZipEntryRecord* Archive::RecordFor(const std::string& entryName) const {
    // Ask zziplib which entry the lookup picks, so the checks apply to that very entry.
    ZZIP_STAT stat{};
    if (zzip_dir_stat(dir_, entryName.c_str(), &stat, kStatLookupFlags) != 0 ||
        stat.d_name == nullptr) {
        return nullptr;
    }
    return RecordNamed(stat.d_name);
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

bool ExtractEntry(Archive& archive, const std::string& entryName, const std::string& destination,
                  FileSystem& fileSystem) {
    const ZipEntryRecord* record = archive.RecordFor(entryName);
    if (record == nullptr || record->IsEncrypted()) return false;
    if (record->method != kMethodStored && record->method != kMethodDeflated) return false;
    if (record->method == kMethodStored && record->compressedSize != record->size) return false;
    if (!archive.HasSoundLocalHeader(*record)) return false;

    std::unique_ptr<ZZIP_FILE, EntryCloser> entry(
        zzip_file_open(archive.Handle(), entryName.c_str(), kLookupFlags));
    if (!entry) return false;
    ZZIP_STAT opened{};
    if (zzip_file_stat(entry.get(), &opened) != 0 ||
        static_cast<std::uint64_t>(static_cast<unsigned>(opened.st_size)) != record->size) {
        return false;
    }

    FileReplacement output(fileSystem, destination);
    if (!output.IsOpen()) return false;

    std::array<char, kCopyBufferSize> buffer;
    std::uint64_t copied = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        const zzip_ssize_t got = zzip_file_read(entry.get(), buffer.data(), buffer.size());
        if (got < 0) return false;
        if (got == 0) break;
        copied += static_cast<std::uint64_t>(got);
        if (copied > record->size) return false;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
        if (!output.Write(buffer.data(), static_cast<std::size_t>(got))) return false;
    }
    // Damaged data can inflate to the full length without an error; only the recorded
    // length and checksum tell.
    if (copied != record->size || crc != record->crc32) return false;
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

bool FileExists(const std::string& path, const FileSystem& fileSystem) {
    return fileSystem.FileExists(path);
}

}  // namespace wendmoor
