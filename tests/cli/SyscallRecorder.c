/* Loaded into the command-line tool by the sync-order test only (LD_PRELOAD): appends one line
   per flush, rename and deletion the tool asks of the system to the file named by
   WENDMOOR_SYSCALL_LOG, then does what was asked. Paths are the ones the calls name, or those of
   their descriptors. The program itself has no such switch. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static void Record(const char* kind, const char* path, const char* to) {
    const char* log = getenv("WENDMOOR_SYSCALL_LOG");
    if (log == NULL) return;
    char line[3 * PATH_MAX];
    const int size =
        snprintf(line, sizeof line, "%s %s%s%s\n", kind, path, to ? " -> " : "", to ? to : "");
    if (size <= 0 || (size_t)size >= sizeof line) return;
    /* One write of the whole line to a file opened for appending: lines of several threads
       never mix. */
    const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    (void)!write(fd, line, (size_t)size);
    close(fd);
}

static void RecordDescriptor(const char* fileKind, const char* folderKind, int fd) {
    char link[64], path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length < 0) return;
    path[length] = '\0';
    struct stat info;
    const int isFolder = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    Record(isFolder ? folderKind : fileKind, path, NULL);
}

/* The C library's function of that name; the assignment through a pointer is the form POSIX
   gives for turning dlsym's answer into a function. */
#define CALL_NEXT(type, name, ...)                \
    do {                                          \
        type next;                                \
        *(void**)&next = dlsym(RTLD_NEXT, #name); \
        return next(__VA_ARGS__);                 \
    } while (0)

typedef int (*DescriptorCall)(int);
typedef int (*RenameCall)(const char*, const char*);
typedef int (*PathCall)(const char*);

int fsync(int fd) {
    RecordDescriptor("sync", "syncfolder", fd);
    CALL_NEXT(DescriptorCall, fsync, fd);
}

int fdatasync(int fd) {
    RecordDescriptor("sync", "syncfolder", fd);
    CALL_NEXT(DescriptorCall, fdatasync, fd);
}

int syncfs(int fd) {
    RecordDescriptor("syncfs", "syncfs", fd);
    CALL_NEXT(DescriptorCall, syncfs, fd);
}

int rename(const char* from, const char* to) {
    Record("rename", from, to);
    CALL_NEXT(RenameCall, rename, from, to);
}

int unlink(const char* path) {
    Record("unlink", path, NULL);
    CALL_NEXT(PathCall, unlink, path);
}
