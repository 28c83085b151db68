#pragma once

#include <zzip/zzip.h>

#include <cstdint>
#include <vector>

namespace wendmoor {

// Opens the checked descriptor of an archive with zziplib, which parses the directory again:
// its many small seeks and reads while it does so are served from `tail`, the file's bytes
// from `tailOffset` to its end as the directory check read them, instead of costing a system
// call each. Reads elsewhere in the file go to the disk as before, so zziplib sees exactly the
// bytes of the file. The copy is dropped when zziplib closes the descriptor (zzip_dir_close).
// `fileSize` is the size of the open regular file.
ZZIP_DIR* OpenZzipDirectory(int fd, std::int64_t fileSize, std::uint64_t tailOffset,
                            std::vector<unsigned char> tail, zzip_error_t* error);

}  // namespace wendmoor
