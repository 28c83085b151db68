#include "platform/IniLine.h"

#include "platform/Utf8.h"

namespace wendmoor {

namespace {

bool IsHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string Hex(unsigned char c) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex = "\\x";
    if (c >= 16) hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
    return hex;
}

// The escaping of the INI store's writer. `bytesAsText`: bytes from 0x80 up belong to UTF-8
// text and stay as they are; otherwise they are written as \x escapes. An escape by number
// would swallow a hex digit after it, so that digit is escaped too.
std::string Escaped(const std::string& text, bool bytesAsText) {
    std::string out;
    bool needsQuotes = false;
    bool escapeNextDigit = false;
    for (const char raw : text) {
        const auto c = static_cast<unsigned char>(raw);
        if (c == ';' || c == ',' || c == '=') needsQuotes = true;
        if (escapeNextDigit && IsHexDigit(c)) {
            out += Hex(c);
            continue;
        }
        escapeNextDigit = false;
        switch (c) {
            case '\0':
                out += "\\0";
                escapeNextDigit = true;
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\v':
                out += "\\v";
                break;
            case '"':
            case '\\':
                out += '\\';
                out += raw;
                break;
            default:
                if (c <= 0x1f || (c >= 0x7f && !bytesAsText)) {
                    out += Hex(c);
                    escapeNextDigit = true;
                } else {
                    out += raw;
                }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) {
        out = '"' + out + '"';
    }
    return out;
}

}  // namespace

std::string IniSettingsLine(const std::string& name, const std::string& value) {
    if (IsUtf8(value)) {
        // A leading "@" marks a typed value ("@ByteArray(...)"); a text's own is doubled.
        return name + "=" +
               Escaped(!value.empty() && value.front() == '@' ? "@" + value : value, true);
    }
    return name + "=" + Escaped("@ByteArray(" + value + ")", false);
}

}  // namespace wendmoor
