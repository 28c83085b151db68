#pragma once

#include <cstddef>
#include <cstdint>

namespace wendmoor {

// Code points first, first + stride, ... (count of them) fold to themselves plus delta.
struct CaseFoldRun {
    char32_t first;
    std::uint16_t count;
    std::uint8_t stride;
    std::int32_t delta;
};

// Unicode's simple case folding, ordered by first code point (CaseFoldTable.cpp, generated).
extern const CaseFoldRun kCaseFoldRuns[];
extern const std::size_t kCaseFoldRunCount;

}  // namespace wendmoor
