#include "formats.h"

#include <cstring>

namespace assetgen {

namespace {

void PutTag(Bytes& out, const char* tag) {
    out.insert(out.end(), tag, tag + std::strlen(tag));
}

}  // namespace

Bytes EncodeBmp24(const Image& image) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(image.height);
    const std::uint32_t headerBytes = 14 + 40;
    Bytes out;
    out.reserve(headerBytes + pixelBytes);
    PutTag(out, "BM");
    Put32(out, headerBytes + pixelBytes);
    Put32(out, 0);
    Put32(out, headerBytes);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, pixelBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    // BMP rows run bottom-up.
    for (int y = image.height - 1; y >= 0; --y) {
        const Rgba* row = &image.pixels[static_cast<std::size_t>(y) * image.width];
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[x].b);
            out.push_back(row[x].g);
            out.push_back(row[x].r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

Bytes EncodeTga32(const Image& image) {
    Bytes out;
    out.reserve(18 + image.pixels.size() * 4);
    out.push_back(0);  // no image ID
    out.push_back(0);  // no colour map
    out.push_back(2);  // uncompressed true-colour
    for (int i = 0; i < 5; ++i) out.push_back(0);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(image.width));
    Put16(out, static_cast<std::uint32_t>(image.height));
    out.push_back(32);
    out.push_back(0x28);  // 8 alpha bits, origin at the top left
    for (const Rgba& p : image.pixels) {
        out.push_back(p.b);
        out.push_back(p.g);
        out.push_back(p.r);
        out.push_back(p.a);
    }
    return out;
}

Bytes EncodeWav16(const std::vector<std::int16_t>& samples, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    Bytes out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace assetgen
