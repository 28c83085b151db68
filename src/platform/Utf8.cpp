#include "platform/Utf8.h"

namespace wendmoor {

std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at, char32_t& character) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        character = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t smallest = 0;  // anything below is an overlong form
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        smallest = 0x80;
        character = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        smallest = 0x800;
        character = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        smallest = 0x10000;
        character = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) return 0;
        character = (character << 6) | (byte(at + i) & 0x3f);
    }
    if (character < smallest || character > 0x10ffff) return 0;
    if (character >= 0xd800 && character <= 0xdfff) return 0;
    return length;
}

bool IsUtf8(std::string_view bytes) {
    char32_t character = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, at, character);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

}  // namespace wendmoor
