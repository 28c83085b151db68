#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ZipDirectory.h"
#include "platform/Outcome.h"

namespace wendmoor {

class ReadOnlyFile;

// Reads the data of an open archive's entries, each opened straight from its checked directory
// record: no lookup by name, and the entry's local header is read from the disk together with
// the start of its data. Stored entries are copied, deflated ones inflated with zlib. Reads of
// an entry never reach past its own data, so no decoding runs into another entry's bytes.
class EntryReader {
  public:
    explicit EntryReader(const ReadOnlyFile& archive) : archive_(archive) {}
    ~EntryReader() { Close(); }
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    // Opens the entry of the record (closing the one open before). Fails with the reason when
    // its local header is not where the record says or its data would reach beyond the record's
    // data limit. The record's method must be stored or deflated.
    Outcome Open(const ZipEntryRecord& record, const std::string& entryName);
    // Fills the buffer with the entry's next bytes; `got` is smaller than `size` only at the end
    // of its data, and 0 after it. Damaged data and failed reads give their reason.
    Outcome Read(void* buffer, std::size_t size, std::size_t& got);
    void Close();

  private:
    // Makes the window hold the archive's bytes from `at` on.
    Outcome FillWindow(std::uint64_t at);
    // The entry's next compressed bytes, at most up to the window's end; false when a read fails
    // (then `failure_` tells why).
    bool NextInput(const unsigned char*& bytes, std::size_t& size);
    Outcome ReadStored(unsigned char* buffer, std::size_t size, std::size_t& got);
    Outcome Inflate(unsigned char* buffer, std::size_t size, std::size_t& got);

    const ReadOnlyFile& archive_;
    std::string entryName_;
    // The entry's compressed data: [position_, dataEnd_) is still to be read.
    std::uint64_t position_ = 0;
    std::uint64_t dataEnd_ = 0;
    bool deflated_ = false;
    bool inflating_ = false;  // `stream_` holds zlib's state, to be ended
    bool streamEnded_ = false;
    z_stream stream_{};
    Outcome failure_;
    // The archive's bytes from windowStart_ on, as last read; kept across entries, as one read
    // usually serves the local headers and data of many small entries that lie one after another.
    std::vector<unsigned char> window_;
    std::uint64_t windowStart_ = 0;
};

}  // namespace wendmoor
