#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Outcome.h"
#include "platform/StopRequest.h"

namespace wendmoor {

// What a copy passed on: how many bytes, and their CRC-32.
struct CopiedBytes {
    std::uint64_t size = 0;
    std::uint32_t crc32 = 0;
};

// The copy loop of every read that checks what it read: `read(buffer, size, got)` fills the
// buffer (`got` 0 at the end) and `use(bytes, got)` takes each chunk, after `copied` has
// counted it. The first failure of either ends the copy, and so does a stop signal, named after
// `name`; `copied` holds the CRC-32 once the copy has reached the end.
template <typename Read, typename Use>
Outcome CopyWithCrc(const std::string& name, std::vector<unsigned char>& buffer, Read read, Use use,
                    CopiedBytes& copied) {
    uLong crc = crc32(0L, Z_NULL, 0);
    copied = {};
    for (;;) {
        if (StopRequested()) return Outcome::Failed(name, "stopped by a signal");
        std::size_t got = 0;
        if (Outcome readOutcome = read(buffer.data(), buffer.size(), got); !readOutcome.Ok()) {
            return readOutcome;
        }
        if (got == 0) break;
        crc = crc32(crc, buffer.data(), static_cast<uInt>(got));
        copied.size += got;
        if (Outcome used = use(buffer.data(), got); !used.Ok()) return used;
    }
    copied.crc32 = static_cast<std::uint32_t>(crc);
    return {};
}

}  // namespace wendmoor
