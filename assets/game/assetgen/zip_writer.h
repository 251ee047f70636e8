// A minimal ZIP writer: entries are stored uncompressed with one fixed timestamp and no extra fields,
// so the same entries always give the same bytes, whoever builds them and whenever.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

namespace assetgen {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);

class ZipWriter {
public:
    // Entries keep the order in which they are added. Names use '/' as separator.
    void Add(const std::string& name, const Bytes& data);

    // The complete archive; throws std::length_error beyond what a ZIP without ZIP64 records can hold.
    Bytes Finish() const;

private:
    struct Entry {
        std::string name;
        Bytes data;
    };
    std::vector<Entry> entries_;
};

}  // namespace assetgen
