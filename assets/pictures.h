// The pictures and files carried read-only inside the program image.
#pragma once

#include <cstddef>

struct EmbeddedData {
    const unsigned char* begin;
    const unsigned char* end;
    std::size_t size() const { return static_cast<std::size_t>(end - begin); }
};

EmbeddedData BannerJpeg();
EmbeddedData ErrorBannerJpeg();
EmbeddedData ErrorSideJpeg();
