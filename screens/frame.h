// The frame every wizard screen is built in: the window slot, its size and ground, the banner, the
// colours, the font and the pictures.
#pragma once

#include <string>

#include "platform/gui.h"

constexpr plat::Rgb ScreenGreen{0, 128, 0};
constexpr plat::Rgb TextWhite{255, 255, 255};
constexpr plat::Rgb TextYellow{255, 255, 0};
constexpr plat::Rgb BoxWhite{255, 255, 255};
constexpr plat::Rgb TermsBlack{0, 0, 0};

// Image slots of the three embedded pictures.
constexpr int BannerImage = 0;
constexpr int ErrorBannerImage = 1;
constexpr int ErrorSideImage = 2;

constexpr int kScreenWidth = 530;
constexpr int kScreenHeight = 400;
constexpr int kBannerControl = 1;

// The author's addresses, shown on the agreement and finish screens.
constexpr const char* kAuthorEmail = "brallowen@example.com";
constexpr const char* kAuthorWebsite = "www.example.com/kestrowin";

// Decodes the three pictures into their slots and makes "Arial" 9 pt the default control font, setting
// FontLoaded by the outcome.
void LoadScreenAssets();

// Opens StepWindow with `caption` at the wizard's size and paints it green when the screen font is
// loaded. Returns false when the window cannot be opened.
bool OpenScreenFrame(const std::string& caption);

// The banner across the top, sized by the picture itself.
void CreateBanner();

// A text label with the screens' colours: green background, then the text colour.
void CreateScreenLabel(int number, int x, int y, int width, int height, const std::string& text,
                       plat::Rgb text_colour = TextWhite);
