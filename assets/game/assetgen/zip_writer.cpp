#include "zip_writer.h"

#include <array>
#include <limits>
#include <stdexcept>

namespace assetgen {

namespace {

// 2026-01-01 00:00:00 in MS-DOS form; any fixed moment would do, it only has to never change.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr std::uint16_t kVersion = 20;
constexpr std::uint16_t kStored = 0;

std::uint32_t Checked32(std::size_t v) {
    if (v > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("ZIP archive over 4 GiB");
    return static_cast<std::uint32_t>(v);
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void ZipWriter::Add(const std::string& name, const Bytes& data) {
    if (name.empty() || name.size() > 0xFFFF) throw std::length_error("bad ZIP entry name: " + name);
    entries_.push_back({name, data});
}

Bytes ZipWriter::Finish() const {
    if (entries_.size() >= 0xFFFF) throw std::length_error("too many ZIP entries");
    Bytes out;
    Bytes central;
    for (const Entry& e : entries_) {
        const std::uint32_t offset = Checked32(out.size());
        const std::uint32_t size = Checked32(e.data.size());
        const std::uint32_t crc = Crc32(e.data.data(), e.data.size());
        const auto nameLength = static_cast<std::uint16_t>(e.name.size());

        Put32(out, 0x04034b50);
        Put16(out, kVersion);
        Put16(out, 0);
        Put16(out, kStored);
        Put16(out, kDosTime);
        Put16(out, kDosDate);
        Put32(out, crc);
        Put32(out, size);
        Put32(out, size);
        Put16(out, nameLength);
        Put16(out, 0);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), e.data.begin(), e.data.end());

        Put32(central, 0x02014b50);
        Put16(central, kVersion);
        Put16(central, kVersion);
        Put16(central, 0);
        Put16(central, kStored);
        Put16(central, kDosTime);
        Put16(central, kDosDate);
        Put32(central, crc);
        Put32(central, size);
        Put32(central, size);
        Put16(central, nameLength);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, offset);
        central.insert(central.end(), e.name.begin(), e.name.end());
    }
    const std::uint32_t centralOffset = Checked32(out.size());
    const std::uint32_t centralSize = Checked32(central.size());
    out.insert(out.end(), central.begin(), central.end());
    Checked32(out.size());

    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put16(out, static_cast<std::uint32_t>(entries_.size()));
    Put32(out, centralSize);
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

}  // namespace assetgen
