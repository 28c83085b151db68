#include "packages/ListOrder.h"

#include <algorithm>
#include <optional>

#include "platform/Collation.h"
#include "platform/Path.h"

namespace wendmoor {

namespace {

unsigned char Folded(char c) {
    return static_cast<unsigned char>(AsciiLower(c));
}

// The order of names that cannot be collated.
bool FoldedBytesLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

// One line with what it is compared by.
struct Keyed {
    std::optional<std::string> key;  // nothing: not valid UTF-8
    std::size_t index;
};

int CompareKeys(const Keyed& a, const Keyed& b, std::string_view aBytes, std::string_view bBytes) {
    if (a.key.has_value() != b.key.has_value()) return a.key ? -1 : 1;
    if (a.key) {
        const int collated = a.key->compare(*b.key);
        if (collated != 0) return collated;
    } else {
        if (FoldedBytesLess(aBytes, bBytes)) return -1;
        if (FoldedBytesLess(bBytes, aBytes)) return 1;
    }
    return aBytes.compare(bBytes);
}

Keyed KeyOf(std::string_view line, std::size_t index) {
    return {CollationKey(line), index};
}

}  // namespace

bool ListLess(std::string_view a, std::string_view b) {
    return CompareKeys(KeyOf(a, 0), KeyOf(b, 1), a, b) < 0;
}

void SortListLines(std::vector<std::string>& lines) {
    // Each line's key is made once; the sort then compares keys only.
    std::vector<Keyed> keyed;
    keyed.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) keyed.push_back(KeyOf(lines[i], i));
    std::sort(keyed.begin(), keyed.end(), [&lines](const Keyed& a, const Keyed& b) {
        return CompareKeys(a, b, lines[a.index], lines[b.index]) < 0;
    });
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (const Keyed& entry : keyed) sorted.push_back(std::move(lines[entry.index]));
    lines = std::move(sorted);
}

}  // namespace wendmoor
