// Encoders for the file formats the game reads its assets in.
#pragma once

#include <cstdint>
#include <vector>

#include "zip_writer.h"

namespace assetgen {

struct Rgba {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    std::uint8_t a;
};

// Pixels row by row from the top-left corner.
struct Image {
    int width;
    int height;
    std::vector<Rgba> pixels;

    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, Rgba{0, 0, 0, 0}) {}
    Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// 24-bit uncompressed BMP; alpha is dropped.
Bytes EncodeBmp24(const Image& image);

// 32-bit uncompressed TGA with alpha, stored top row first.
Bytes EncodeTga32(const Image& image);

// Mono 16-bit PCM WAV.
Bytes EncodeWav16(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace assetgen
