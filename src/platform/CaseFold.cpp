#include "platform/CaseFold.h"

#include <algorithm>

#include "platform/CaseFoldTable.h"
#include "platform/Path.h"
#include "platform/Utf8.h"

namespace wendmoor {

namespace {

char32_t FoldCodePoint(char32_t codePoint) {
    const CaseFoldRun* end = kCaseFoldRuns + kCaseFoldRunCount;
    const CaseFoldRun* after =
        std::upper_bound(kCaseFoldRuns, end, codePoint,
                         [](char32_t value, const CaseFoldRun& run) { return value < run.first; });
    if (after == kCaseFoldRuns) return codePoint;
    const CaseFoldRun& run = *(after - 1);
    const char32_t offset = codePoint - run.first;
    if (offset % run.stride != 0 || offset / run.stride >= run.count) return codePoint;
    return static_cast<char32_t>(static_cast<std::int32_t>(codePoint) + run.delta);
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    unsigned char bytesOr = 0;
    for (char& c : folded) {
        bytesOr |= static_cast<unsigned char>(c);
        c = AsciiLower(c);
    }
    if (bytesOr < 0x80 || !IsUtf8(text)) return folded;
    folded.clear();
    char32_t codePoint = 0;
    for (std::size_t at = 0; at < text.size();) {
        at += Utf8SequenceAt(text, at, codePoint);  // the text is valid: never 0
        AppendUtf8(folded, FoldCodePoint(codePoint));
    }
    return folded;
}

}  // namespace wendmoor
