#include "backups/BackupManifest.h"

#include <charconv>
#include <cstdio>

namespace wendmoor {

namespace {

constexpr const char* kFirstLine = "wendmoor-backup 1";
constexpr const char* kAbsent = "absent";

std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

std::string Hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

std::string FingerprintText(const FileFingerprint& fingerprint) {
    return std::to_string(fingerprint.size) + '\t' + Hex(fingerprint.crc32);
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && error == std::errc() && stop == end;
}

bool ReadFingerprint(std::string_view size, std::string_view crc, FileFingerprint& fingerprint) {
    return ReadNumber(size, fingerprint.size) && crc.size() == 8 &&
           ReadNumber(crc, fingerprint.crc32, 16);
}

// "file ORIGINAL STORED SIZE CRC LEFT_SIZE LEFT_CRC", the last two "absent" and "-" when the
// command left nothing.
std::optional<BackupFile> ReadFileLine(const std::vector<std::string_view>& fields) {
    if (fields.size() != 7) return std::nullopt;
    BackupFile file;
    std::optional<std::string> original = Unescaped(fields[1]);
    std::optional<std::string> stored = Unescaped(fields[2]);
    if (!original || !stored || !ReadFingerprint(fields[3], fields[4], file.bytes)) {
        return std::nullopt;
    }
    file.original = std::move(*original);
    file.stored = std::move(*stored);
    if (fields[5] != kAbsent) {
        FileFingerprint left;
        if (!ReadFingerprint(fields[5], fields[6], left)) return std::nullopt;
        file.leftBehind = left;
    }
    return file;
}

}  // namespace

std::uint64_t BackupInfo::Size() const {
    std::uint64_t size = 0;
    for (const BackupFile& file : files) size += file.bytes.size;
    return size;
}

std::string ManifestHeader(const BackupInfo& backup) {
    return std::string(kFirstLine) + "\ngame\t" + Escaped(backup.game) + "\npackage\t" +
           Escaped(backup.package) + "\ncommand\t" + Escaped(backup.command) + "\ncreated\t" +
           std::to_string(backup.createdNanoseconds) + "\ntime\t" + Escaped(backup.time) + '\n';
}

std::string ManifestFileLine(const BackupFile& file) {
    return "file\t" + Escaped(file.original) + '\t' + Escaped(file.stored) + '\t' +
           FingerprintText(file.bytes) + '\t' +
           (file.leftBehind ? FingerprintText(*file.leftBehind) : std::string(kAbsent) + "\t-") +
           '\n';
}

std::optional<BackupInfo> ParseManifest(const std::string& text) {
    std::string_view rest = text;
    BackupInfo backup;
    bool first = true;
    bool created = false;
    while (true) {
        const auto end = rest.find('\n');
        if (end == std::string_view::npos) break;  // a line cut short by a crash
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
            continue;
        }
        const std::vector<std::string_view> fields = Fields(line);
        if (fields[0] == "file") {
            std::optional<BackupFile> file = ReadFileLine(fields);
            if (!file) return std::nullopt;
            backup.files.push_back(std::move(*file));
            continue;
        }
        if (fields.size() != 2) return std::nullopt;
        if (fields[0] == "created") {
            if (!ReadNumber(fields[1], backup.createdNanoseconds)) return std::nullopt;
            created = true;
            continue;
        }
        std::optional<std::string> value = Unescaped(fields[1]);
        if (!value) return std::nullopt;
        if (fields[0] == "game") {
            backup.game = std::move(*value);
        } else if (fields[0] == "package") {
            backup.package = std::move(*value);
        } else if (fields[0] == "command") {
            backup.command = std::move(*value);
        } else if (fields[0] == "time") {
            backup.time = std::move(*value);
        }
        // Other keys are for later versions and are passed over.
    }
    if (first || !created || backup.game.empty()) return std::nullopt;
    return backup;
}

}  // namespace wendmoor
