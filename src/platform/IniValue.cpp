#include "platform/IniValue.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace wendmoor {

namespace {

constexpr char16_t kReplacement = 0xfffd;

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

void AppendUtf16(std::u16string& out, char32_t character) {
    if (character < 0x10000) {
        out += static_cast<char16_t>(character);
    } else {
        character -= 0x10000;
        out += static_cast<char16_t>(0xd800 + (character >> 10));
        out += static_cast<char16_t>(0xdc00 + (character & 0x3ff));
    }
}

std::size_t SequenceLength(unsigned char lead) {
    return lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// The bytes of a value between its escapes and quotes, decoded as Qt's decoder does, which
// holds its state across the pieces of one value: a byte order mark at the start of the first
// piece is dropped; a byte that starts no valid sequence stands for one replacement character;
// an incomplete sequence at a piece's end waits for the next piece, where a byte that does not
// continue it is taken with the replacement character; one still waiting at the value's end is
// dropped.
class PieceDecoder {
  public:
    void Append(std::u16string& out, std::string_view bytes) {
        std::size_t at = 0;
        if (!started_ && bytes.substr(0, 3) == "\xef\xbb\xbf") at = 3;
        started_ = true;
        while (!waiting_.empty() && at < bytes.size()) {
            if (!IsContinuation(bytes[at])) {
                out += kReplacement;
                lossy_ = true;
                waiting_.clear();
                ++at;
                break;
            }
            waiting_ += bytes[at++];
            if (waiting_.size() == SequenceLength(static_cast<unsigned char>(waiting_[0]))) {
                Decode(out, waiting_, true);
                waiting_.clear();
            }
        }
        if (at < bytes.size()) Decode(out, bytes.substr(at), false);
    }

    // Whether some bytes were no UTF-8: replaced, or waiting at the value's end to be dropped.
    bool Lossy() const { return lossy_ || !waiting_.empty(); }

  private:
    void Decode(std::u16string& out, std::string_view bytes, bool whole) {
        char32_t character = 0;
        for (std::size_t at = 0; at < bytes.size();) {
            if (const std::size_t length = Utf8SequenceAt(bytes, at, character)) {
                AppendUtf16(out, character);
                at += length;
                continue;
            }
            const auto lead = static_cast<unsigned char>(bytes[at]);
            const std::string_view rest = bytes.substr(at);
            if (!whole && lead >= 0xc2 && lead <= 0xf4 && rest.size() < SequenceLength(lead) &&
                std::all_of(rest.begin() + 1, rest.end(), IsContinuation)) {
                waiting_ = std::string(rest);
                return;
            }
            out += kReplacement;
            lossy_ = true;
            at += whole ? bytes.size() : 1;
        }
    }

    std::string waiting_;
    bool started_ = false;
    bool lossy_ = false;
};

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < text.size() && text[i + 1] >= 0xdc00 &&
            text[i + 1] <= 0xdfff) {
            AppendUtf8(out, 0x10000 + ((unit - 0xd800) << 10) + (text[i + 1] - 0xdc00));
            ++i;
        } else if (unit >= 0xd800 && unit <= 0xdfff) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string ToLatin1(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) out += unit <= 0xff ? static_cast<char>(unit) : '?';
    return out;
}

struct Unescaped {
    std::u16string text;  // the last item of a list
    bool isList = false;
    bool lossy = false;  // bytes that are no UTF-8 were replaced or dropped
};

char16_t EscapedCharacter(char c) {
    switch (c) {
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        case '"':
        case '?':
        case '\'':
        case '\\':
            return static_cast<char16_t>(c);
        default:
            return 0;
    }
}

// One scan over the value, character by character, with the quoting state it carries; split,
// each part would need that state back.
Unescaped Unescape(std::string_view s) {
    Unescaped result;
    std::u16string& text = result.text;
    bool inQuotes = false;
    bool quoted = false;   // the current item had quotes: its blanks are its own
    std::size_t keep = 0;  // blanks before this index are kept at the item's end
    PieceDecoder decoder;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        keep = text.size();
    };
    const auto chopBlanks = [&] {
        while (text.size() > keep && (text.back() == u' ' || text.back() == u'\t')) {
            text.pop_back();
        }
    };
    skipBlanks();
    while (i < s.size()) {
        const char c = s[i];
        if (c == '\\') {
            if (++i == s.size()) return result;
            const char escaped = s[i++];
            if (const char16_t character = EscapedCharacter(escaped)) {
                text += character;
            } else if (escaped == 'x' || DigitValue(escaped, 8) >= 0) {
                // A number of any length; only its last 16 bits count.
                const int base = escaped == 'x' ? 16 : 8;
                const bool hex = base == 16;
                if (hex && (i == s.size() || DigitValue(s[i], 16) < 0)) {
                    keep = text.size();
                    continue;
                }
                char16_t value = hex ? 0 : static_cast<char16_t>(DigitValue(escaped, 8));
                for (; i < s.size() && DigitValue(s[i], base) >= 0; ++i) {
                    value = static_cast<char16_t>(value * base + DigitValue(s[i], base));
                }
                text += value;
                if (i == s.size()) return result;
            } else if (escaped == '\n' || escaped == '\r') {
                // A line continued on the next one: \n, \r, \r\n and \n\r end a line.
                if (i < s.size() && (s[i] == '\n' || s[i] == '\r') && s[i] != escaped) ++i;
            }
            keep = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (!quoted) chopBlanks();
            result.isList = true;
            text.clear();
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            std::size_t end = i + 1;
            while (end < s.size() && s[end] != '\\' && s[end] != '"' && s[end] != ',') ++end;
            decoder.Append(text, s.substr(i, end - i));
            i = end;
        }
    }
    if (!quoted) chopBlanks();
    result.lossy = decoder.Lossy();
    return result;
}

bool StartsWith(std::u16string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (text[i] != static_cast<char16_t>(prefix[i])) return false;
    }
    return true;
}

}  // namespace

IniValue ParseIniValue(std::string_view written) {
    const Unescaped unescaped = Unescape(written);
    if (unescaped.isList) return {IniValue::Kind::kList, {}};
    if (unescaped.lossy) return {IniValue::Kind::kNotUtf8, {}};
    const std::u16string_view text = unescaped.text;
    if (StartsWith(text, "@") && text.back() == u')') {
        const auto inner = [&text](std::size_t prefix) {
            return text.substr(prefix, text.size() - prefix - 1);
        };
        if (StartsWith(text, "@ByteArray(")) return {IniValue::Kind::kText, ToLatin1(inner(11))};
        if (StartsWith(text, "@String(")) return {IniValue::Kind::kText, ToUtf8(inner(8))};
        // Values of other types are no text; Qt answered them as empty text. A rectangle, size
        // or point with the wrong number of coordinates is taken as text.
        if (text == u"@Invalid()" || StartsWith(text, "@Variant(") ||
            StartsWith(text, "@DateTime(")) {
            return {IniValue::Kind::kText, {}};
        }
        for (const auto& [type, coordinates] :
             {std::pair{"@Rect(", 4}, {"@Size(", 2}, {"@Point(", 2}}) {
            if (!StartsWith(text, type)) continue;
            // A blank ends a coordinate, and so does each ")".
            const std::u16string_view list = text.substr(std::string_view(type).size());
            const auto ends = std::count_if(list.begin(), list.end(),
                                            [](char16_t c) { return c == u' ' || c == u')'; });
            if (ends == coordinates) return {IniValue::Kind::kText, {}};
        }
    }
    if (StartsWith(text, "@@")) return {IniValue::Kind::kText, ToUtf8(text.substr(1))};
    return {IniValue::Kind::kText, ToUtf8(text)};
}

}  // namespace wendmoor
