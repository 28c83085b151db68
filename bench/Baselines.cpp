#include "Baselines.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "Collection.h"
#include "Measure.h"

namespace wendmoor::bench {

namespace {

constexpr std::size_t kTailSize = 64 * 1024;

const char kPythonListing[] = R"(
import os, sys, time, zipfile
folder = sys.argv[1]
start = time.perf_counter()
entries = 0
for name in os.listdir(folder):
    path = os.path.join(folder, name)
    if os.path.isfile(path):
        with zipfile.ZipFile(path) as archive:
            entries += len(archive.namelist())
print(time.perf_counter() - start)
)";

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

double OpenAndReadTailFloor(const std::string& folder) {
    const Stopwatch watch;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return -1;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_type == DT_REG) names.emplace_back(entry->d_name);
    }
    std::vector<char> tail(kTailSize);
    for (const std::string& name : names) {
        const int fd = ::open((folder + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return -1;
        struct stat info;
        if (::fstat(fd, &info) == 0) {
            const off_t size = std::min<off_t>(info.st_size, kTailSize);
            if (::pread(fd, tail.data(), static_cast<std::size_t>(size), info.st_size - size) < 0) {
                ::close(fd);
                return -1;
            }
        }
        ::close(fd);
    }
    return watch.Seconds();
}

double PythonZipfileListing(const std::string& folder) {
    const std::string command =
        "python3 -c " + ShellQuoted(kPythonListing) + " " + ShellQuoted(folder) + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return -1;
    double seconds = -1;
    if (std::fscanf(pipe.get(), "%lf", &seconds) != 1) return -1;
    return seconds;
}

double UnzipExtract(const std::string& archive, const std::string& destination) {
    RemoveTree(destination);
    const std::string command = "/usr/bin/unzip -o -q " + ShellQuoted(archive) + " -d " +
                                ShellQuoted(destination) + " >/dev/null 2>&1";
    const Stopwatch watch;
    if (std::system(command.c_str()) != 0) return -1;
    const double seconds = watch.Seconds();
    RemoveTree(destination);
    return seconds;
}

}  // namespace wendmoor::bench
