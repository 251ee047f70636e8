#include "assets/pictures.h"

#include "assets/embedded.h"

EmbeddedData BannerJpeg() { return {kw_banner_jpeg_begin, kw_banner_jpeg_end}; }
EmbeddedData ErrorBannerJpeg() { return {kw_error_banner_jpeg_begin, kw_error_banner_jpeg_end}; }
EmbeddedData ErrorSideJpeg() { return {kw_error_side_jpeg_begin, kw_error_side_jpeg_end}; }
