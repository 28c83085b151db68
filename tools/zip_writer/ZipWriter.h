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
        std::uint16_t flags = 0;                   // 1 marks the entry encrypted
        std::optional<std::uint16_t> methodId;     // an unsupported method on purpose
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

// Raw deflate of the bytes, as a ZIP entry holds them.
std::string Deflate(const std::string& data);

// Writes bytes to a file; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes; nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace wendmoor::testing
