#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wendmoor {

// The size and CRC-32 of a file's bytes, as a ZIP directory records them for an entry.
struct FileFingerprint {
    std::uint64_t size = 0;
    std::uint32_t crc32 = 0;
    bool operator==(const FileFingerprint&) const = default;
};

// One file a backup holds.
struct BackupFile {
    std::string original;  // the full path it had, as it lay on disk
    std::string stored;    // where its copy lies, relative to the backup's folder
    FileFingerprint bytes;
    // What the command left at the original path: the package's bytes after an install,
    // nothing after a deinstall. A restore replaces only that without asking.
    std::optional<FileFingerprint> leftBehind;
};

// One backup: what one command kept.
struct BackupInfo {
    std::string name;    // the name of its folder in the store
    std::string folder;  // its full path, ending with the separator
    std::string game;    // BackupGameKey
    std::string package;
    std::string command;                  // "install", "deinstall" or "restore"
    std::int64_t createdNanoseconds = 0;  // since the epoch; orders the list
    std::string time;                     // local date and time, "2024-05-01 14:23:10"
    std::vector<BackupFile> files;

    std::uint64_t Size() const;
};

// The manifest is a text file of lines whose fields are separated by tabs. Paths and package
// names are bytes in any encoding and stay bytes: only "\", tab, line feed and carriage return
// are escaped ("\\", "\t", "\n", "\r"). It starts with a header written when the backup is
// made; each kept file then appends one "file" line, flushed before the original is touched.
// A last line without its line feed (a crash while appending) is ignored.
inline constexpr const char* kManifestName = "manifest";

std::string ManifestHeader(const BackupInfo& backup);
std::string ManifestFileLine(const BackupFile& file);
// Nothing when the text is no manifest (the header is missing or a line cannot be read).
std::optional<BackupInfo> ParseManifest(const std::string& text);

}  // namespace wendmoor
