// Pictures in numbered slots: decoded once into 24-bit DIB sections that image controls show.
#include <map>

#include "platform/gui.h"
#include "platform/jpeg_decode.h"
#include "platform/win32/win32_internal.h"

namespace plat::win32 {
namespace {

struct Image {
    HBITMAP bitmap = nullptr;  // at the picture's own size, which is its size on a 96-DPI display
    HBITMAP shown = nullptr;   // stretched to the display's DPI, made when first needed
    int width = 0;
    int height = 0;
};

void Delete(Image& image) {
    if (image.shown != nullptr && image.shown != image.bitmap) DeleteObject(image.shown);
    DeleteObject(image.bitmap);
}

std::map<int, Image>& TheImages() {
    static std::map<int, Image> images;
    return images;
}

void Forget(int slot) {
    auto found = TheImages().find(slot);
    if (found == TheImages().end()) return;
    Delete(found->second);
    TheImages().erase(found);
}

// A 24-bit bottom-up DIB section of `width` x `height`; `bits` receives its pixels.
HBITMAP MakeDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Rows from the last to the first, blue-green-red, each row padded to four bytes.
HBITMAP MakeBitmap(const DecodedImage& decoded) {
    void* bits = nullptr;
    HBITMAP bitmap = MakeDib(decoded.width, decoded.height, &bits);
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

// The picture stretched to the display's DPI. HALFTONE averages the source pixels each target pixel covers,
// where the default mode would drop or repeat whole rows and columns.
HBITMAP Stretch(const Image& image) {
    const int width = Scaled(image.width);
    const int height = Scaled(image.height);
    void* bits = nullptr;
    HBITMAP stretched = MakeDib(width, height, &bits);
    if (stretched == nullptr) return nullptr;
    HDC source = CreateCompatibleDC(nullptr);
    HDC target = CreateCompatibleDC(nullptr);
    HGDIOBJ old_source = SelectObject(source, image.bitmap);
    HGDIOBJ old_target = SelectObject(target, stretched);
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);  // HALFTONE needs the brush origin set after choosing it
    const BOOL drawn =
        StretchBlt(target, 0, 0, width, height, source, 0, 0, image.width, image.height, SRCCOPY);
    SelectObject(source, old_source);
    SelectObject(target, old_target);
    DeleteDC(source);
    DeleteDC(target);
    if (!drawn) {
        DeleteObject(stretched);
        return nullptr;
    }
    return stretched;
}

}  // namespace

HBITMAP ImageBitmap(int slot) {
    auto found = TheImages().find(slot);
    if (found == TheImages().end()) return nullptr;
    Image& image = found->second;
    if (image.shown == nullptr) {
        image.shown = Scaled(image.width) == image.width && Scaled(image.height) == image.height
                          ? image.bitmap
                          : Stretch(image);
    }
    return image.shown;
}

void DeleteImages() {
    for (auto& [slot, image] : TheImages()) Delete(image);
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
    win32::TheImages()[slot] = {bitmap, nullptr, decoded.width, decoded.height};
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
