#include "packages/ListOrder.h"

#include <algorithm>

namespace wendmoor {

namespace {

unsigned char Folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32) : byte;
}

}  // namespace

bool ListLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

void SortListLines(std::vector<std::string>& lines) {
    std::sort(lines.begin(), lines.end(),
              [](const std::string& a, const std::string& b) { return ListLess(a, b); });
}

}  // namespace wendmoor
