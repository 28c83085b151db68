#pragma once

#include <cstddef>
#include <string_view>

#include "archive/ZipDirectory.h"

namespace wendmoor {

// Sets a record's name from the bytes its central directory record holds, decoded as the ZIP
// format says: a name flagged UTF-8 (flag bit 11) is UTF-8 as it stands; otherwise the Info-ZIP
// Unicode Path extra field (0x7075, version 1) gives it, when that field's CRC-32 matches the
// stored name's bytes; otherwise the bytes are code page 437, the DOS code page that packing
// tools on Windows store names in. The decoded name is UTF-8; the stored bytes are kept in
// `rawName` when they differ. A flagged name that is no valid UTF-8 is marked `nameUnreadable`
// and shown with U+FFFD in place of each bad byte.
void DecodeEntryName(ZipEntryRecord& record, std::string_view storedName,
                     const unsigned char* extra, std::size_t extraSize);

}  // namespace wendmoor
