#include "screens/frame.h"

#include "app/shared_state.h"
#include "assets/pictures.h"

void LoadScreenAssets() {
    const EmbeddedData pictures[] = {BannerJpeg(), ErrorBannerJpeg(), ErrorSideJpeg()};
    const int slots[] = {BannerImage, ErrorBannerImage, ErrorSideImage};
    for (int i = 0; i < 3; ++i) {
        plat::DecodeImage(slots[i], pictures[i].begin, pictures[i].size());
    }
    FontLoaded = plat::SetDefaultFont("Arial", 9) ? 1 : 0;
}

bool OpenScreenFrame(const std::string& caption) {
    if (!plat::OpenWindow(StepWindow, caption, kScreenWidth, kScreenHeight)) return false;
    if (FontLoaded == 1) plat::SetWindowGround(StepWindow, ScreenGreen);
    return true;
}

void CreateBanner() {
    plat::CreateImageControl(kBannerControl, 0, 0, plat::ImageWidth(BannerImage),
                             plat::ImageHeight(BannerImage), BannerImage);
}

void CreateScreenLabel(int number, int x, int y, int width, int height, const std::string& text,
                       plat::Rgb text_colour) {
    plat::CreateLabel(number, x, y, width, height, text);
    plat::SetControlColour(number, plat::kBackgroundColour, ScreenGreen);
    plat::SetControlColour(number, plat::kTextColour, text_colour);
}
