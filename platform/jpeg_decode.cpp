#include "platform/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace plat {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the caller.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

void OnFatalError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void IgnoreMessage(j_common_ptr) {}
void IgnoreWarning(j_common_ptr, int) {}
void FormatNothing(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetNothing(j_common_ptr) {}

}  // namespace

bool DecodeJpeg(const unsigned char* data, std::size_t size, DecodedImage* image) {
    *image = DecodedImage{};
    jpeg_decompress_struct info;
    // Filled here rather than by jpeg_std_error, which would bring libjpeg's message table and the C
    // library's printf into the program only to compose texts nobody reads.
    ErrorManager errors{};
    errors.base.error_exit = OnFatalError;
    errors.base.emit_message = IgnoreWarning;
    errors.base.output_message = IgnoreMessage;
    errors.base.format_message = FormatNothing;
    errors.base.reset_error_mgr = ResetNothing;
    info.err = &errors.base;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        *image = DecodedImage{};
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image->width = static_cast<int>(info.output_width);
    image->height = static_cast<int>(info.output_height);
    const std::size_t row_bytes = static_cast<std::size_t>(image->width) * 3;
    image->rgb.resize(row_bytes * static_cast<std::size_t>(image->height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->rgb.data() + row_bytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace plat
