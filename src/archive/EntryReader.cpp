#include "archive/EntryReader.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "archive/ZipFormat.h"
#include "platform/ReadOnlyFile.h"

namespace wendmoor {

namespace {

// Entries lie one after another, so one read of this much usually serves the local headers
// and data of many small entries, and a large entry is read in pieces of this size.
constexpr std::size_t kWindowSize = 64 * 1024;

constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

}  // namespace

Outcome EntryReader::Open(const ZipEntryRecord& record, const std::string& entryName) {
    Close();
    entryName_ = entryName;
    const Outcome damaged = Outcome::Failed(entryName, "is damaged (its headers disagree)");
    if (record.method != kMethodStored && record.method != kMethodDeflated) {
        return Outcome::Failed(entryName, "is packed with an unsupported method");
    }
    const std::uint64_t at = record.localHeaderOffset;
    if (at + kLocalHeaderSize > record.dataLimit) return damaged;
    if (at < windowStart_ || at + kLocalHeaderSize > windowStart_ + window_.size()) {
        if (Outcome filled = FillWindow(at); !filled.Ok()) return filled;
    }
    if (at + kLocalHeaderSize > windowStart_ + window_.size()) return damaged;
    const unsigned char* local = &window_[at - windowStart_];
    const std::uint64_t dataStart = at + kLocalHeaderSize + Le16(local + 26) + Le16(local + 28);
    const std::uint64_t dataEnd = dataStart + record.compressedSize;
    // The local header's method and sizes are not used: an archive written with a data
    // descriptor leaves them zero, and the directory's were checked.
    if (Le32(local) != kLocalSignature || dataEnd > record.dataLimit) return damaged;
    position_ = dataStart;
    dataEnd_ = dataEnd;
    deflated_ = record.method == kMethodDeflated;
    if (deflated_) {
        // Raw deflate data: the entry has no zlib header or trailer of its own.
        if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) {
            stream_ = {};
            return Outcome::Failed(entryName, "cannot be inflated (out of memory)");
        }
        inflating_ = true;
    }
    return {};
}

Outcome EntryReader::Read(void* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    return deflated_ ? Inflate(bytes, size, got) : ReadStored(bytes, size, got);
}

void EntryReader::Close() {
    if (inflating_) inflateEnd(&stream_);
    inflating_ = false;
    streamEnded_ = false;
    stream_ = {};
    position_ = dataEnd_ = 0;
    deflated_ = false;
}

Outcome EntryReader::FillWindow(std::uint64_t at) {
    window_.resize(kWindowSize);
    std::size_t got = 0;
    const Outcome read = archive_.ReadAt(at, window_.data(), window_.size(), got);
    window_.resize(got);
    windowStart_ = at;
    if (read.Ok()) return {};
    window_.clear();
    return Outcome::Failed(entryName_,
                           "cannot be read from the archive: " + read.Failures().front().reason);
}

bool EntryReader::NextInput(const unsigned char*& bytes, std::size_t& size) {
    if (position_ < windowStart_ || position_ >= windowStart_ + window_.size()) {
        if (failure_ = FillWindow(position_); !failure_.Ok()) return false;
        // The file ends before its directory said: it changed since it was checked.
        if (window_.empty()) {
            failure_ = Outcome::Failed(entryName_, "is damaged (its data cannot be read)");
            return false;
        }
    }
    bytes = &window_[position_ - windowStart_];
    size = static_cast<std::size_t>(std::min(windowStart_ + window_.size(), dataEnd_) - position_);
    return true;
}

Outcome EntryReader::ReadStored(unsigned char* buffer, std::size_t size, std::size_t& got) {
    while (got < size && position_ < dataEnd_) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(size - got, dataEnd_ - position_));
        const bool inWindow =
            position_ >= windowStart_ && position_ < windowStart_ + window_.size();
        // A large entry's bytes go straight into the buffer, not through the window.
        if (!inWindow && want >= kWindowSize) {
            std::size_t read = 0;
            if (Outcome outcome = archive_.ReadAt(position_, buffer + got, want, read);
                !outcome.Ok()) {
                return Outcome::Failed(entryName_, "cannot be read from the archive: " +
                                                       outcome.Failures().front().reason);
            }
            if (read < want)
                return Outcome::Failed(entryName_, "is damaged (its data cannot be read)");
            got += want;
            position_ += want;
            continue;
        }
        const unsigned char* input = nullptr;
        std::size_t available = 0;
        if (!NextInput(input, available)) return failure_;
        const std::size_t count = std::min(want, available);
        std::memcpy(buffer + got, input, count);
        got += count;
        position_ += count;
    }
    return {};
}

Outcome EntryReader::Inflate(unsigned char* buffer, std::size_t size, std::size_t& got) {
    stream_.next_out = buffer;
    stream_.avail_out = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
    while (stream_.avail_out > 0 && !streamEnded_) {
        if (stream_.avail_in == 0) {
            // The data ends before the stream does; the length check of the caller tells.
            if (position_ >= dataEnd_) break;
            const unsigned char* input = nullptr;
            std::size_t available = 0;
            if (!NextInput(input, available)) return failure_;
            stream_.next_in = const_cast<Bytef*>(input);
            stream_.avail_in = static_cast<uInt>(std::min<std::size_t>(available, UINT_MAX));
            position_ += stream_.avail_in;
        }
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
        } else if (result != Z_OK) {
            return Outcome::Failed(entryName_, "is damaged (its data cannot be read)");
        }
    }
    got = static_cast<std::size_t>(stream_.next_out - buffer);
    return {};
}

}  // namespace wendmoor
