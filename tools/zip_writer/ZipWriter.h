#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wendmoor::testing {

// Builds ZIP archives for tests, samples and benchmarks (it only writes them). Entries are
// stored or deflated; the knobs below make damaged archives on purpose.
class ZipWriter {
  public:
    enum class Method { Stored, Deflated };

    struct Entry {
        std::string name;
        std::string data;
        Method method = Method::Deflated;
        std::optional<std::uint32_t> recordedCrc;  // a wrong CRC on purpose
        std::uint16_t flags = 0;                   // 1 encrypted, 0x800 a UTF-8 name
        std::optional<std::uint16_t> methodId;     // an unsupported method on purpose
        std::string extra = {};                    // the extra field, in both headers
    };

    ZipWriter& Add(std::string name, std::string data, Method method = Method::Deflated);
    ZipWriter& Add(Entry entry);
    ZipWriter& AddFolder(std::string name);  // "Maps/"

    // The whole archive.
    std::string Bytes() const;
    // Writes the archive; false when the file cannot be written.
    bool WriteTo(const std::string& path) const;

  private:
    std::vector<Entry> entries_;
};

// An Info-ZIP Unicode Path extra field giving `name` for an entry whose header holds
// `storedName`; `crc` replaces the CRC-32 of `storedName` (a stale field on purpose).
std::string UnicodePathField(const std::string& storedName, const std::string& name,
                             std::optional<std::uint32_t> crc = std::nullopt);

// Raw deflate of the bytes, as a ZIP entry holds them.
std::string Deflate(const std::string& data);

// Writes bytes to a file; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes; nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace wendmoor::testing
