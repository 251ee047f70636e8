// The symbols that bound each embedded file (see cmake/Embed.cmake). Only assets/ reads them.
#pragma once

#define KW_EMBEDDED(name) extern "C" const unsigned char name##_begin[], name##_end[]

KW_EMBEDDED(kw_banner_jpeg);
KW_EMBEDDED(kw_error_banner_jpeg);
KW_EMBEDDED(kw_error_side_jpeg);
KW_EMBEDDED(kw_game_exe);
KW_EMBEDDED(kw_engine_dll);
KW_EMBEDDED(kw_assets_zip);
KW_EMBEDDED(kw_guide_txt);
KW_EMBEDDED(kw_licence_txt);

#undef KW_EMBEDDED
