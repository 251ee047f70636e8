#define ENGINE3D_BUILDING
#include "engine3d.h"

namespace {

constexpr float kLength = E3D_TABLE_LENGTH_MM;
constexpr float kWidth = E3D_TABLE_WIDTH_MM;
constexpr float kBall = E3D_BALL_DIAMETER_MM;
constexpr float kCushion = E3D_CUSHION_MM;
constexpr float kWood = E3D_RAIL_MM;
constexpr float kBorder = kCushion + kWood;

// Nose-to-nose distance of touching balls along the rack's long axis: diameter times sin(60 degrees).
constexpr float kRowStep = kBall * 0.8660254f;

// Eight-ball rack seen from the apex: the 8 in the middle of the third row, a solid and a stripe in the
// back corners, solids and stripes alternating elsewhere.
constexpr int kRackOrder[15] = {1, 9, 2, 10, 8, 3, 11, 7, 14, 4, 5, 13, 15, 6, 12};

const COLORREF kBallColours[8] = {
    RGB(245, 190, 20), RGB(25, 60, 170), RGB(205, 30, 30), RGB(100, 40, 140),
    RGB(240, 110, 20), RGB(20, 120, 60), RGB(130, 30, 35), RGB(15, 15, 15),
};

// Maps table millimetres to device pixels for one target rectangle, the whole table (rails included)
// scaled uniformly and centred so that balls stay round whatever the window's shape.
struct Fit {
    float scale;
    float originX;
    float originY;

    explicit Fit(const RECT& area) {
        const float areaW = static_cast<float>(area.right - area.left);
        const float areaH = static_cast<float>(area.bottom - area.top);
        const float outerW = kLength + 2 * kBorder;
        const float outerH = kWidth + 2 * kBorder;
        scale = areaW / outerW < areaH / outerH ? areaW / outerW : areaH / outerH;
        if (scale < 0) scale = 0;
        originX = area.left + (areaW - outerW * scale) / 2 + kBorder * scale;
        originY = area.top + (areaH - outerH * scale) / 2 + kBorder * scale;
    }

    int X(float mm) const { return Round(originX + mm * scale); }
    int Y(float mm) const { return Round(originY + mm * scale); }
    int Len(float mm) const { return Round(mm * scale); }

    static int Round(float v) { return static_cast<int>(v < 0 ? v - 0.5f : v + 0.5f); }
};

// Selects a solid brush and pen into the DC for the lifetime of the object and gives the DC back its
// previous ones, so that no GDI object leaks even on early returns.
class Paint {
public:
    Paint(HDC dc, COLORREF fill, COLORREF line, int lineWidth = 1)
        : dc_(dc), brush_(CreateSolidBrush(fill)), pen_(CreatePen(PS_SOLID, lineWidth, line)) {
        oldBrush_ = SelectObject(dc_, brush_);
        oldPen_ = SelectObject(dc_, pen_);
    }
    ~Paint() {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
        DeleteObject(brush_);
        DeleteObject(pen_);
    }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;

private:
    HDC dc_;
    HBRUSH brush_;
    HPEN pen_;
    HGDIOBJ oldBrush_;
    HGDIOBJ oldPen_;
};

void Disc(HDC dc, const Fit& fit, float x, float y, float radius) {
    Ellipse(dc, fit.X(x - radius), fit.Y(y - radius), fit.X(x + radius), fit.Y(y + radius));
}

void DrawSights(HDC dc, const Fit& fit) {
    const Paint paint(dc, RGB(235, 225, 195), RGB(180, 165, 130));
    const float rail = -kCushion - kWood / 2;
    const float radius = 9.0f;
    for (int i = 1; i < 8; ++i) {
        if (i == 4) continue;  // the side pockets sit there
        const float x = kLength * i / 8;
        Disc(dc, fit, x, rail, radius);
        Disc(dc, fit, x, kWidth - rail, radius);
    }
    for (int i = 1; i < 4; ++i) {
        const float y = kWidth * i / 4;
        Disc(dc, fit, rail, y, radius);
        Disc(dc, fit, kLength - rail, y, radius);
    }
}

void DrawPockets(HDC dc, const Fit& fit) {
    const Paint paint(dc, RGB(8, 8, 8), RGB(40, 40, 40));
    const float corner = E3D_CORNER_POCKET_RADIUS_MM;
    const float side = E3D_SIDE_POCKET_RADIUS_MM;
    Disc(dc, fit, -18, -18, corner);
    Disc(dc, fit, kLength + 18, -18, corner);
    Disc(dc, fit, -18, kWidth + 18, corner);
    Disc(dc, fit, kLength + 18, kWidth + 18, corner);
    Disc(dc, fit, kLength / 2, -30, side);
    Disc(dc, fit, kLength / 2, kWidth + 30, side);
}

void DrawNumber(HDC dc, int number, int cx, int cy, int radius) {
    wchar_t text[3];
    int n = 0;
    if (number >= 10) text[n++] = static_cast<wchar_t>(L'0' + number / 10);
    text[n++] = static_cast<wchar_t>(L'0' + number % 10);
    text[n] = 0;

    HFONT font = CreateFontW(-radius, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, RGB(10, 10, 10));
    RECT box = {cx - radius, cy - radius, cx + radius, cy + radius};
    DrawTextW(dc, text, n, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void DrawBall(HDC dc, const Fit& fit, const E3DBall& ball) {
    const int cx = fit.X(ball.x);
    const int cy = fit.Y(ball.y);
    const int r = fit.Len(kBall / 2);
    if (r < 1) return;

    const bool cue = ball.number <= 0 || ball.number > 15;
    const bool stripe = ball.number >= 9;
    const COLORREF body = cue ? RGB(245, 245, 235) : kBallColours[(ball.number - 1) % 8];
    {
        const Paint paint(dc, stripe ? RGB(245, 245, 235) : body, RGB(20, 20, 20));
        Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
    }
    if (stripe && !cue) {
        // The band is clipped to the ball's outline rather than drawn as a chord so that it keeps
        // straight edges at any size.
        HRGN outline = CreateEllipticRgn(cx - r + 1, cy - r + 1, cx + r, cy + r);
        SaveDC(dc);
        ExtSelectClipRgn(dc, outline, RGN_AND);
        HBRUSH band = CreateSolidBrush(body);
        RECT bandRect = {cx - r, cy - r / 2, cx + r + 1, cy + r / 2 + 1};
        FillRect(dc, &bandRect, band);
        DeleteObject(band);
        RestoreDC(dc, -1);
        DeleteObject(outline);
    }
    if (!cue && r >= 7) {
        const int spot = r * 11 / 20;
        {
            const Paint paint(dc, RGB(250, 250, 245), RGB(250, 250, 245));
            Ellipse(dc, cx - spot, cy - spot, cx + spot + 1, cy + spot + 1);
        }
        DrawNumber(dc, ball.number, cx, cy, spot + 1);
    }
    if (r >= 4) {
        const int glint = r / 4;
        const int gx = cx - r / 3;
        const int gy = cy - r / 2;
        const Paint paint(dc, RGB(255, 255, 255), RGB(255, 255, 255));
        Ellipse(dc, gx - glint / 2, gy - glint / 2, gx + glint / 2 + 1, gy + glint / 2 + 1);
    }
}

}  // namespace

extern "C" {

E3D_API int E3D_ApiVersion(void) {
    return E3D_API_VERSION;
}

E3D_API int E3D_RackBalls(E3DBall* out, int capacity) {
    E3DBall rack[E3D_RACK_BALLS];
    rack[0] = {kLength / 4, kWidth / 2, 0};
    const float apexX = kLength * 3 / 4;
    int placed = 0;
    for (int row = 0; row < 5; ++row) {
        for (int i = 0; i <= row; ++i) {
            const float y = kWidth / 2 + (static_cast<float>(i) - static_cast<float>(row) / 2) * kBall;
            rack[1 + placed] = {apexX + row * kRowStep, y, kRackOrder[placed]};
            ++placed;
        }
    }
    for (int i = 0; out && i < capacity && i < E3D_RACK_BALLS; ++i) out[i] = rack[i];
    return E3D_RACK_BALLS;
}

E3D_API void E3D_DrawTable(HDC dc, const RECT* area) {
    if (!dc || !area) return;
    const Fit fit(*area);
    {
        const Paint paint(dc, RGB(104, 58, 26), RGB(60, 32, 14), 2);
        const int round = fit.Len(80);
        RoundRect(dc, fit.X(-kBorder), fit.Y(-kBorder), fit.X(kLength + kBorder), fit.Y(kWidth + kBorder), round,
                  round);
    }
    {
        const Paint paint(dc, RGB(14, 84, 44), RGB(10, 60, 30));
        Rectangle(dc, fit.X(-kCushion), fit.Y(-kCushion), fit.X(kLength + kCushion), fit.Y(kWidth + kCushion));
    }
    {
        const Paint paint(dc, RGB(22, 116, 62), RGB(22, 116, 62));
        Rectangle(dc, fit.X(0), fit.Y(0), fit.X(kLength), fit.Y(kWidth));
    }
    {
        const Paint paint(dc, RGB(60, 150, 95), RGB(60, 150, 95));
        MoveToEx(dc, fit.X(kLength / 4), fit.Y(0), nullptr);
        LineTo(dc, fit.X(kLength / 4), fit.Y(kWidth));
        Disc(dc, fit, kLength * 3 / 4, kWidth / 2, 5);
        Disc(dc, fit, kLength / 4, kWidth / 2, 5);
    }
    DrawSights(dc, fit);
    DrawPockets(dc, fit);
}

E3D_API void E3D_DrawBalls(HDC dc, const RECT* area, const E3DBall* balls, int count) {
    if (!dc || !area || !balls) return;
    const Fit fit(*area);
    for (int i = 0; i < count; ++i) DrawBall(dc, fit, balls[i]);
}

}  // extern "C"
