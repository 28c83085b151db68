// The window's refresh in a process of its own, on the offscreen platform:
// wendmoor_bench_window ROOT GAME REPEATS PACKAGES prints the fastest refresh in seconds.
#include <cstdio>
#include <cstdlib>

#include "Collection.h"
#include "Measure.h"
#include "WindowRefresh.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s ROOT GAME REPEATS PACKAGES\n", argv[0]);
        return 2;
    }
    const int packages = std::atoi(argv[4]);
    const double seconds = wendmoor::bench::TimeWindowRefresh(
        wendmoor::bench::CollectionPaths(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]),
        (packages + 1) / 2, packages / 2);
    return wendmoor::bench::ReportResult(seconds);
}
