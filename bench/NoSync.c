/* Loaded into an install by the benchmark only (LD_PRELOAD), to tell what its flushes to the
   disk cost: fsync and fdatasync return at once. The program itself has no such switch. */
int fsync(int fd) {
    (void)fd;
    return 0;
}

int fdatasync(int fd) {
    (void)fd;
    return 0;
}
