#include "archive/EntryNameDecoding.h"

#include <zlib.h>

#include <optional>
#include <string>

#include "archive/ZipFormat.h"
#include "platform/Utf8.h"

namespace wendmoor {

namespace {

constexpr std::uint16_t kUtf8NameFlag = 0x0800;
constexpr std::uint16_t kUnicodePathField = 0x7075;
constexpr char32_t kReplacementCharacter = 0xFFFD;

// Code page 437 from 0x80 on; below that it is ASCII.
constexpr char16_t kCodePage437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

std::string FromCodePage437(std::string_view bytes) {
    bool ascii = true;
    for (const char c : bytes) ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(text, byte < 0x80 ? byte : kCodePage437High[byte - 0x80]);
    }
    return text;
}

std::string WithBadBytesReplaced(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8SequenceAt(bytes, at, codePoint);
        AppendUtf8(text, length != 0 ? codePoint : kReplacementCharacter);
        at += length != 0 ? length : 1;
    }
    return text;
}

// The name a Unicode Path field holds for these stored bytes; nothing when there is no such
// field, or it belongs to other bytes (a tool renamed the entry without updating it), or its
// name is unusable.
std::optional<std::string> UnicodePathName(std::string_view storedName, const unsigned char* extra,
                                           std::size_t extraSize) {
    for (std::size_t at = 0; at + 4 <= extraSize;) {
        const std::uint16_t id = Le16(extra + at);
        const std::size_t size = Le16(extra + at + 2);
        const unsigned char* data = extra + at + 4;
        at += 4 + size;
        if (at > extraSize) return std::nullopt;
        if (id != kUnicodePathField || size < 5 || data[0] != 1) continue;
        const auto storedCrc =
            static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(storedName.data()),
                                             static_cast<uInt>(storedName.size())));
        if (Le32(data + 1) != storedCrc) return std::nullopt;
        const std::string_view name(reinterpret_cast<const char*>(data + 5), size - 5);
        if (name.empty() || name.find('\0') != std::string_view::npos || !IsUtf8(name)) {
            return std::nullopt;
        }
        return std::string(name);
    }
    return std::nullopt;
}

}  // namespace

void DecodeEntryName(ZipEntryRecord& record, std::string_view storedName,
                     const unsigned char* extra, std::size_t extraSize) {
    if ((record.flags & kUtf8NameFlag) != 0) {
        record.nameUnreadable = !IsUtf8(storedName);
        record.name =
            record.nameUnreadable ? WithBadBytesReplaced(storedName) : std::string(storedName);
    } else if (std::optional<std::string> unicode = UnicodePathName(storedName, extra, extraSize)) {
        record.name = std::move(*unicode);
    } else {
        record.name = FromCodePage437(storedName);
    }
    if (record.name != storedName) record.rawName.assign(storedName);
}

}  // namespace wendmoor
