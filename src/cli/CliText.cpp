#include "cli/CliText.h"

#include <ostream>

namespace wendmoor {

std::string PrintableName(std::string_view name) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(name.size());
    for (const char raw : name) {
        const auto c = static_cast<unsigned char>(raw);
        if (c >= 0x20 && c != 0x7f) {
            out += raw;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += "\\x";
            out += kDigits[c >> 4];
            out += kDigits[c & 15];
        }
    }
    return out;
}

void PrintFailure(std::ostream& err, std::string_view text) {
    err << "wendmoor-cli: " << PrintableName(text) << '\n';
}

}  // namespace wendmoor
