#include "assets/payload_table.h"

#include "assets/embedded.h"

const PayloadEntry* PayloadTable() {
    static const PayloadEntry table[kPayloadCount] = {
        {"PlayKestrowin.exe", {kw_game_exe_begin, kw_game_exe_end},
         "Status: Extracting PlayKestrowin.exe", 20},
        {"Engine3D.dll", {kw_engine_dll_begin, kw_engine_dll_end}, "Status: Extracting Engine3D.dll",
         40},
        {"Assets.zip", {kw_assets_zip_begin, kw_assets_zip_end}, "Status: Extracting Assets.zip", 60},
        {"TroubleShooting_Guide.txt", {kw_guide_txt_begin, kw_guide_txt_end},
         "Status: TroubleShooting_Guide.txt", 80},
        {"OgreMITLicense.txt", {kw_licence_txt_begin, kw_licence_txt_end},
         "Status: OgreMITLicense.txt", 100},
    };
    return table;
}
