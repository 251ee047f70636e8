// Decoding of the embedded JPEG pictures, shared by every backend.
#pragma once

#include <cstddef>
#include <vector>

namespace plat {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // rows top to bottom, three bytes per pixel: red, green, blue
};

// Decodes `size` bytes of JPEG data. Returns false, leaving `image` empty, when the data is not a
// picture libjpeg can read.
bool DecodeJpeg(const unsigned char* data, std::size_t size, DecodedImage* image);

}  // namespace plat
