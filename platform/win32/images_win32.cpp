// Pictures in numbered slots: decoded once into 24-bit DIB sections that image controls show.
#include <map>

#include "platform/gui.h"
#include "platform/jpeg_decode.h"
#include "platform/win32/win32_internal.h"

namespace plat::win32 {
namespace {

struct Image {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
};

std::map<int, Image>& TheImages() {
    static std::map<int, Image> images;
    return images;
}

void Forget(int slot) {
    auto found = TheImages().find(slot);
    if (found == TheImages().end()) return;
    DeleteObject(found->second.bitmap);
    TheImages().erase(found);
}

// A bottom-up DIB: rows from the last to the first, blue-green-red, each row padded to four bytes.
HBITMAP MakeBitmap(const DecodedImage& decoded) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = decoded.width;
    info.bmiHeader.biHeight = decoded.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    const std::size_t width = static_cast<std::size_t>(decoded.width);
    const std::size_t stride = (width * 3 + 3) & ~static_cast<std::size_t>(3);
    for (int row = 0; row < decoded.height; ++row) {
        const unsigned char* source = decoded.rgb.data() + static_cast<std::size_t>(row) * width * 3;
        unsigned char* target =
            static_cast<unsigned char*>(bits) + static_cast<std::size_t>(decoded.height - 1 - row) * stride;
        for (std::size_t column = 0; column < width; ++column) {
            target[column * 3 + 0] = source[column * 3 + 2];
            target[column * 3 + 1] = source[column * 3 + 1];
            target[column * 3 + 2] = source[column * 3 + 0];
        }
    }
    // The pixels were written behind GDI's back; make sure it sees them before drawing.
    GdiFlush();
    return bitmap;
}

}  // namespace

HBITMAP ImageBitmap(int slot) {
    auto found = TheImages().find(slot);
    return found == TheImages().end() ? nullptr : found->second.bitmap;
}

void DeleteImages() {
    for (auto& [slot, image] : TheImages()) DeleteObject(image.bitmap);
    TheImages().clear();
}

}  // namespace plat::win32

namespace plat {

bool DecodeImage(int slot, const unsigned char* data, std::size_t size) {
    win32::Forget(slot);
    DecodedImage decoded;
    if (!DecodeJpeg(data, size, &decoded)) return false;
    HBITMAP bitmap = win32::MakeBitmap(decoded);
    if (bitmap == nullptr) return false;
    win32::TheImages()[slot] = {bitmap, decoded.width, decoded.height};
    return true;
}

int ImageWidth(int slot) {
    auto found = win32::TheImages().find(slot);
    return found == win32::TheImages().end() ? 0 : found->second.width;
}

int ImageHeight(int slot) {
    auto found = win32::TheImages().find(slot);
    return found == win32::TheImages().end() ? 0 : found->second.height;
}

}  // namespace plat
