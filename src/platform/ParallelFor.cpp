#include "platform/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace wendmoor {

unsigned RefreshThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

void ParallelFor(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    const auto drain = [&] {
        for (std::size_t index; !failed && (index = next++) < count;) {
            try {
                work(index);
            } catch (...) {
                const std::lock_guard lock(errorMutex);
                if (!error) error = std::current_exception();
                failed = true;
            }
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t wanted = std::min<std::size_t>(std::max(threads, 1u), count) - (count > 0);
    for (std::size_t i = 0; i < wanted; ++i) {
        try {
            helpers.emplace_back(drain);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running, this one included, do it all
        }
    }
    drain();
    for (std::thread& helper : helpers) helper.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace wendmoor
