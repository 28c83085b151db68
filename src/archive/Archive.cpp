#include "archive/Archive.h"
#include "archive/CrcCopy.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "archive/CommandProgress.h"
#include "archive/EntryReader.h"
#include "archive/StoredName.h"
#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/StopRequest.h"

namespace wendmoor {

namespace {

// Large enough that a big entry costs few reads and writes, small enough to stay out of the
// way of memory.
constexpr std::size_t kCopyBufferSize = 64 * 1024;

constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// A name as the lookup by file name compares it: the part after the last "/", with its letter
// case folded and "\" taken as "/".
std::string FoldedFileName(std::string_view name) {
    const auto slash = name.rfind('/');
    std::string folded = FoldCase(slash == std::string_view::npos ? name : name.substr(slash + 1));
    for (char& c : folded) {
        if (c == '\\') c = '/';
    }
    return folded;
}

}  // namespace

std::unique_ptr<Archive> Archive::Open(const std::string& path, Outcome* failure) {
    std::unique_ptr<Archive> archive(new Archive());
    Outcome opened = archive->file_.Open(path);
    if (opened.Ok()) {
        std::optional<ZipDirectory> directory = ReadZipDirectory(archive->file_, &opened);
        if (directory) {
            archive->records_ = std::move(directory->records);
            return archive;
        }
        if (opened.Ok()) opened = Outcome::Failed(path, "cannot be read as a ZIP archive");
    }
    if (failure != nullptr) *failure = std::move(opened);
    return nullptr;
}

Archive::~Archive() = default;

std::vector<std::string> Archive::EntryNames() const {
    std::vector<std::string> names;
    names.reserve(records_.size());
    for (const ZipEntryRecord& record : records_) names.push_back(record.name);
    return names;
}

const ZipEntryRecord* Archive::RecordFor(const std::string& entryName) const {
    const std::hash<std::string> hash;
    if (byFileName_.empty()) {
        byFileName_.reserve(records_.size());
        for (std::size_t i = 0; i < records_.size(); ++i) {
            byFileName_.emplace_back(hash(FoldedFileName(records_[i].name)),
                                     static_cast<std::uint32_t>(i));
        }
        std::sort(byFileName_.begin(), byFileName_.end());
    }
    const std::string folded = FoldedFileName(entryName);
    const std::size_t key = hash(folded);
    // Equal hashes in record order: the first whose name matches is the first record.
    for (auto it = std::lower_bound(byFileName_.begin(), byFileName_.end(),
                                    std::pair<std::size_t, std::uint32_t>(key, 0));
         it != byFileName_.end() && it->first == key; ++it) {
        if (FoldedFileName(records_[it->second].name) == folded) return &records_[it->second];
    }
    return nullptr;
}

Outcome WriteEntry(Archive& archive, const std::string& entryName, FileReplacement& output,
                   CommandProgress* progress) {
    const std::string& target = output.Target();
    const ZipEntryRecord* record = archive.RecordFor(entryName);
    if (record == nullptr) return Outcome::Failed(entryName, "is not in the archive");
    if (record->nameUnreadable) {
        return Outcome::Failed(entryName, "is damaged (its name is marked UTF-8 but is not)");
    }
    if (record->IsEncrypted()) return Outcome::Failed(entryName, "is encrypted");
    if (record->method != kMethodStored && record->method != kMethodDeflated) {
        return Outcome::Failed(entryName, "is packed with an unsupported method (" +
                                              std::to_string(record->method) + ")");
    }
    if (record->method == kMethodStored && record->compressedSize != record->size) {
        return Outcome::Failed(entryName, "is damaged (its headers disagree)");
    }
    if (!archive.entries_) {
        archive.entries_ = std::make_unique<EntryReader>(archive.file_);
        archive.copyBuffer_.resize(kCopyBufferSize);
    }
    EntryReader& entry = *archive.entries_;
    if (Outcome opened = entry.Open(*record, entryName); !opened.Ok()) return opened;
    if (!output.IsOpen()) return output.OpenOutcome();

    CopiedBytes copied;
    const Outcome copiedOutcome = CopyWithCrc(
        target, archive.copyBuffer_,
        [&](void* bytes, std::size_t size, std::size_t& got) {
            if (progress != nullptr && progress->CancelRequested()) {
                return Outcome::Failed(target, "cancelled");
            }
            return entry.Read(bytes, size, got);
        },
        [&](const unsigned char* bytes, std::size_t size) {
            if (copied.size > record->size) {
                return Outcome::Failed(entryName, "is damaged (longer than recorded)");
            }
            if (!output.Write(bytes, size)) return output.Finish();
            if (progress != nullptr) progress->AddBytes(size);
            return Outcome();
        },
        copied);
    if (!copiedOutcome.Ok()) return copiedOutcome;
    entry.Close();
    // Damaged data can inflate to the full length without an error; only the recorded
    // length and checksum tell.
    if (copied.size != record->size) {
        return Outcome::Failed(entryName, "is damaged (shorter than recorded)");
    }
    if (copied.crc32 != record->crc32)
        return Outcome::Failed(entryName, "is damaged (checksum mismatch)");
    return output.Finish();
}

Outcome ExtractEntry(Archive& archive, const std::string& entryName, const std::string& destination,
                     FileSystem& fileSystem) {
    FileReplacement output(fileSystem, destination);
    if (Outcome written = WriteEntry(archive, entryName, output); !written.Ok()) return written;
    return output.Commit();
}

StoredNames ReadStoredNames(const std::string& archivePath, EarlierSpellings* earlier) {
    StoredNames read;
    ReadOnlyFile file;
    read.unreadable = file.Open(archivePath);
    if (!read.unreadable.Ok()) return read;
    std::optional<ZipDirectory> directory = ReadZipDirectory(file, &read.unreadable);
    if (!directory) return read;
    read.isArchive = true;
    for (const ZipEntryRecord& record : directory->records) {
        std::optional<std::string> stored = StoredNameOf(record.name);
        if (!stored) continue;
        if (earlier != nullptr && !record.rawName.empty()) {
            std::optional<std::string> before = StoredNameOf(record.rawName);
            if (before && *before != *stored) earlier->emplace_back(*stored, std::move(*before));
        }
        read.names.push_back(std::move(*stored));
    }
    return read;
}

std::optional<std::vector<std::string>> NamesToClassify(const std::string& archivePath,
                                                        EarlierSpellings* earlier,
                                                        Outcome* unreadable) {
    StoredNames read = ReadStoredNames(archivePath, earlier);
    if (unreadable != nullptr) *unreadable = std::move(read.unreadable);
    if (!read.isArchive) return std::nullopt;
    return std::move(read.names);
}

}  // namespace wendmoor
