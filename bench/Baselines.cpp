#include "Baselines.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

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

std::vector<std::string> PythonListingCommand(const std::string& folder) {
    return {"python3", "-c", kPythonListing, folder};
}

std::vector<std::string> UnzipCommand(const std::string& archive, const std::string& destination) {
    return {"unzip", "-o", "-q", archive, "-d", destination};
}

}  // namespace wendmoor::bench
