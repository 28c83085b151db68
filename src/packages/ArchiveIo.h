#pragma once

#include <zzip/zzip.h>

#include <cstdint>

namespace wendmoor {

// zzip_dir_fdopen for an archive whose directory is read from memory: the archive's tail (its
// end record, comment and central directory) is read with one or two preads, and zziplib's
// many small seeks and reads while it parses the directory are served from that copy instead
// of one system call each. Reads elsewhere in the file go to the disk as before, so zziplib
// sees exactly the bytes of the file. The copy is dropped when zziplib closes the descriptor
// (zzip_dir_close). `fileSize` is the size of the open regular file.
ZZIP_DIR* OpenZzipDirectory(int fd, std::int64_t fileSize, zzip_error_t* error);

}  // namespace wendmoor
