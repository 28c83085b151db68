#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "packages/ZipDirectory.h"
#include "packages/ZzipEntryReader.h"
#include "platform/Outcome.h"

namespace wendmoor {

// Reads entries of one open archive through zziplib's entry reader, each opened straight from
// its checked directory record: no lookup by name, and the entry's local header is read from
// the disk once, together with the start of its data.
//
// zziplib's entry reader takes a stdio stream holding an archive and opens the first record of
// its directory. The stream made here presents one entry as such an archive: the entry's local
// header, name, extra field and compressed data as the file holds them, then a directory of
// just that entry and an end record, made from the checked record. Reads of the entry never
// reach past its own data, so no decoding runs into another entry's bytes.
class ZzipEntryStream {
  public:
    explicit ZzipEntryStream(int archiveFd) : fd_(archiveFd) {}
    ~ZzipEntryStream() { Close(); }
    ZzipEntryStream(const ZzipEntryStream&) = delete;
    ZzipEntryStream& operator=(const ZzipEntryStream&) = delete;

    // Opens the entry of the record (closing the one open before). Fails with the reason when
    // its local header is not where the record says or its data would reach beyond the record's
    // data limit, or when zziplib cannot open it.
    Outcome Open(const ZipEntryRecord& record, const std::string& entryName);
    // Like fread: the bytes read, 0 at the entry's end or on an error (see Failed()).
    std::size_t Read(void* buffer, std::size_t size);
    // After Read() gave 0: whether the entry's data could not be read or decoded, as opposed
    // to its end.
    bool Failed() const;
    void Close();

    // The stdio stream's view; public only for the callbacks of fopencookie.
    ssize_t ReadAt(char* buffer, std::size_t size);
    int Seek(std::int64_t* offset, int whence);

  private:
    bool FillWindow(std::uint64_t at);

    int fd_;
    // The entry as presented: [0, span_) are the archive's bytes from the local header on,
    // then the made directory record and end record in tail_.
    std::uint64_t base_ = 0;
    std::uint64_t span_ = 0;
    // The entry's local header as presented, and the made directory and end record.
    unsigned char header_[30] = {};
    std::vector<unsigned char> tail_;
    // Bytes of the entry already read, from window_ offset windowStart_ (relative to base_).
    std::vector<unsigned char> window_;
    std::uint64_t windowStart_ = 0;
    std::uint64_t position_ = 0;
    // While zziplib looks for the directory it reads the end of the stream in pages; the
    // entry's bytes among them are of no use to it and read as zeros instead of from disk.
    bool finding_ = false;
    int readError_ = 0;
    FILE* stream_ = nullptr;
    ZZIP_ENTRY_FILE* entry_ = nullptr;
};

}  // namespace wendmoor
