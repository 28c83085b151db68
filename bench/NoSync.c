/* Loaded into an install by the benchmark only (LD_PRELOAD), to tell what its flushes to the
   disk cost: fsync, fdatasync, syncfs and sync_file_range return at once. The program itself has no
   such switch. */
#define _GNU_SOURCE
#include <fcntl.h>
int fsync(int fd) {
    (void)fd;
    return 0;
}

int fdatasync(int fd) {
    (void)fd;
    return 0;
}

int syncfs(int fd) {
    (void)fd;
    return 0;
}

int sync_file_range(int fd, off64_t offset, off64_t count, unsigned int flags) {
    (void)fd;
    (void)offset;
    (void)count;
    (void)flags;
    return 0;
}
