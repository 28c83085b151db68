#include "packages/ZzipEntryStream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "packages/ZipFormat.h"

namespace wendmoor {

namespace {

// Entries lie one after another, so one read of this much usually serves the local headers
// and data of many small entries, and a large entry is read in pieces of this size.
constexpr std::size_t kWindowSize = 64 * 1024;

void Put16(unsigned char* p, std::uint32_t value) {
    p[0] = static_cast<unsigned char>(value & 0xff);
    p[1] = static_cast<unsigned char>((value >> 8) & 0xff);
}
void Put32(unsigned char* p, std::uint32_t value) {
    Put16(p, value & 0xffff);
    Put16(p + 2, value >> 16);
}

ssize_t ReadCallback(void* cookie, char* buffer, std::size_t size) {
    return static_cast<ZzipEntryStream*>(cookie)->ReadAt(buffer, size);
}
int SeekCallback(void* cookie, off64_t* offset, int whence) {
    std::int64_t at = *offset;
    const int result = static_cast<ZzipEntryStream*>(cookie)->Seek(&at, whence);
    *offset = at;
    return result;
}
int CloseCallback(void*) {
    return 0;
}

}  // namespace

Outcome ZzipEntryStream::Open(const ZipEntryRecord& record, const std::string& entryName) {
    Close();
    const Outcome damaged = Outcome::Failed(entryName, "is damaged (its headers disagree)");
    const std::uint64_t at = record.localHeaderOffset;
    if (at + kLocalHeaderSize > record.dataLimit) return damaged;
    if (at < windowStart_ || at + kLocalHeaderSize > windowStart_ + window_.size()) {
        if (!FillWindow(at)) return Outcome::Failed(entryName, "cannot be read from the archive");
    }
    if (at + kLocalHeaderSize > windowStart_ + window_.size()) return damaged;
    const unsigned char* local = &window_[at - windowStart_];
    const std::uint64_t dataEnd =
        at + kLocalHeaderSize + Le16(local + 26) + Le16(local + 28) + record.compressedSize;
    if (Le32(local) != kLocalSignature || dataEnd > record.dataLimit ||
        dataEnd - at > 0xffffffffu) {
        return damaged;
    }
    base_ = at;
    span_ = dataEnd - at;

    // The reader decodes by the local header's method and sizes, which an archive written
    // with a data descriptor leaves zero; it gets the directory's, as checked.
    std::memcpy(header_, local, kLocalHeaderSize);
    Put16(header_ + 8, record.method);
    Put32(header_ + 14, record.crc32);
    Put32(header_ + 18, static_cast<std::uint32_t>(record.compressedSize));
    Put32(header_ + 22, static_cast<std::uint32_t>(record.size));

    tail_.assign(kCentralHeaderSize + kEndRecordSize, 0);
    unsigned char* central = tail_.data();
    Put32(central, kCentralSignature);
    Put16(central + 4, 20);
    Put16(central + 6, 20);
    Put16(central + 8, record.flags);
    Put16(central + 10, record.method);
    Put32(central + 16, record.crc32);
    Put32(central + 20, static_cast<std::uint32_t>(record.compressedSize));
    Put32(central + 24, static_cast<std::uint32_t>(record.size));
    // No name, extra field or comment; the local header at offset 0.
    unsigned char* end = central + kCentralHeaderSize;
    Put32(end, kEndSignature);
    Put16(end + 8, 1);
    Put16(end + 10, 1);
    Put32(end + 12, kCentralHeaderSize);
    Put32(end + 16, static_cast<std::uint32_t>(span_));

    position_ = 0;
    readError_ = 0;
    static const cookie_io_functions_t kFunctions = {ReadCallback, nullptr, SeekCallback,
                                                     CloseCallback};
    stream_ = ::fopencookie(this, "rb", kFunctions);
    if (stream_ == nullptr) return Outcome::SystemError(entryName, errno);
    finding_ = true;
    ZZIP_ENTRY* found = FindFirstZzipRecord(stream_);
    finding_ = false;
    if (found != nullptr) entry_ = OpenZzipRecord(found);
    if (entry_ == nullptr) {
        Close();
        return readError_ != 0 ? Outcome::SystemError(entryName, readError_)
                               : Outcome::Failed(entryName, "cannot be opened in the archive");
    }
    return {};
}

std::size_t ZzipEntryStream::Read(void* buffer, std::size_t size) {
    return entry_ == nullptr ? 0 : ReadZzipEntry(entry_, buffer, size);
}

bool ZzipEntryStream::Failed() const {
    return entry_ == nullptr || readError_ != 0 || !ZzipEntryAtEnd(entry_);
}

void ZzipEntryStream::Close() {
    if (entry_ != nullptr) {
        CloseZzipEntry(entry_);
        entry_ = nullptr;
    }
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
}

bool ZzipEntryStream::FillWindow(std::uint64_t at) {
    window_.resize(kWindowSize);
    ssize_t got;
    do {
        got = ::pread(fd_, window_.data(), window_.size(), static_cast<off_t>(at));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        readError_ = errno;
        window_.clear();
        return false;
    }
    window_.resize(static_cast<std::size_t>(got));
    windowStart_ = at;
    return true;
}

ssize_t ZzipEntryStream::ReadAt(char* buffer, std::size_t size) {
    const std::uint64_t presented = span_ + tail_.size();
    if (position_ >= span_) {
        // The made directory and end record, which only the search for the directory reads.
        if (!finding_ || position_ >= presented) return 0;
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, presented - position_));
        std::memcpy(buffer, &tail_[position_ - span_], count);
        position_ += count;
        return static_cast<ssize_t>(count);
    }
    auto count = static_cast<std::size_t>(std::min<std::uint64_t>(size, span_ - position_));
    if (finding_) {
        std::memset(buffer, 0, count);
    } else if (position_ < kLocalHeaderSize) {
        count = std::min(count, kLocalHeaderSize - static_cast<std::size_t>(position_));
        std::memcpy(buffer, header_ + position_, count);
    } else {
        const std::uint64_t at = base_ + position_;
        if (at < windowStart_ || at >= windowStart_ + window_.size()) {
            if (!FillWindow(at)) return -1;
            // The file ends before the directory said: it changed since it was checked.
            if (window_.empty()) {
                readError_ = EIO;
                return -1;
            }
        }
        count = static_cast<std::size_t>(
            std::min<std::uint64_t>(count, windowStart_ + window_.size() - at));
        std::memcpy(buffer, &window_[at - windowStart_], count);
    }
    position_ += count;
    return static_cast<ssize_t>(count);
}

int ZzipEntryStream::Seek(std::int64_t* offset, int whence) {
    std::int64_t base = 0;
    switch (whence) {
        case SEEK_SET:
            break;
        case SEEK_CUR:
            base = static_cast<std::int64_t>(position_);
            break;
        case SEEK_END:
            base = static_cast<std::int64_t>(span_ + tail_.size());
            break;
        default:
            errno = EINVAL;
            return -1;
    }
    if (base + *offset < 0) {
        errno = EINVAL;
        return -1;
    }
    position_ = static_cast<std::uint64_t>(base + *offset);
    *offset = static_cast<std::int64_t>(position_);
    return 0;
}

}  // namespace wendmoor
