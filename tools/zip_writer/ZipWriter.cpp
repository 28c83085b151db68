#include "ZipWriter.h"

#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace wendmoor::testing {

namespace {

void Put16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>((value >> 8) & 0xff));
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

}  // namespace

std::string UnicodePathField(const std::string& storedName, const std::string& name,
                             std::optional<std::uint32_t> crc) {
    std::string field;
    Put16(field, 0x7075);
    Put16(field, static_cast<std::uint32_t>(5 + name.size()));
    field.push_back(1);
    Put32(field, crc.value_or(static_cast<std::uint32_t>(
                     crc32(0L, reinterpret_cast<const Bytef*>(storedName.data()),
                           static_cast<uInt>(storedName.size())))));
    return field + name;
}

std::string Deflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

ZipWriter& ZipWriter::Add(std::string name, std::string data, Method method) {
    Entry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    entry.method = method;
    return Add(std::move(entry));
}

ZipWriter& ZipWriter::Add(Entry entry) {
    entries_.push_back(std::move(entry));
    return *this;
}

ZipWriter& ZipWriter::AddFolder(std::string name) {
    return Add(std::move(name), std::string(), Method::Stored);
}

std::string ZipWriter::Bytes() const {
    std::string out;
    std::string directory;
    for (const Entry& entry : entries_) {
        const std::uint32_t crc = entry.recordedCrc.value_or(
            static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(entry.data.data()),
                                             static_cast<uInt>(entry.data.size()))));
        const std::string payload =
            entry.method == Method::Deflated ? Deflate(entry.data) : entry.data;
        const std::uint16_t method =
            entry.methodId.value_or(entry.method == Method::Deflated ? 8 : 0);
        const auto offset = static_cast<std::uint32_t>(out.size());

        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, entry.flags);
        Put16(out, method);
        Put32(out, 0);  // time and date
        Put32(out, crc);
        Put32(out, static_cast<std::uint32_t>(payload.size()));
        Put32(out, static_cast<std::uint32_t>(entry.data.size()));
        Put16(out, static_cast<std::uint32_t>(entry.name.size()));
        Put16(out, static_cast<std::uint32_t>(entry.extra.size()));
        out += entry.name;
        out += entry.extra;
        out += payload;

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, entry.flags);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(payload.size()));
        Put32(directory, static_cast<std::uint32_t>(entry.data.size()));
        Put16(directory, static_cast<std::uint32_t>(entry.name.size()));
        Put16(directory, static_cast<std::uint32_t>(entry.extra.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += entry.name;
        directory += entry.extra;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

bool ZipWriter::WriteTo(const std::string& path) const {
    return WriteFileBytes(path, Bytes());
}

namespace {

// Names are UTF-8 in the program; on Windows they reach the wide calls as such.
#ifdef _WIN32
std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}
#else
const std::string& NativePath(const std::string& path) {
    return path;
}
#endif

}  // namespace

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(NativePath(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace wendmoor::testing
