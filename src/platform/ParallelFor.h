#pragma once

#include <cstddef>
#include <functional>

namespace wendmoor {

// The threads a refresh reads archives on: the machine's cores, at most four.
unsigned RefreshThreads();

// Runs work(0) to work(count - 1), each once, on up to `threads` threads, the calling one among
// them; returns when all are done. Which thread runs which index is not fixed, so the work
// writes its result to a slot of its own index and the caller reads them in order afterwards.
// An exception from the work stops the others from starting more and is thrown here.
void ParallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& work);

}  // namespace wendmoor
