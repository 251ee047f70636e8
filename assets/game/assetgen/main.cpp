// Generates the game's textures, sprites, sounds and table description procedurally and packs them into
// Assets.zip. Every value comes from fixed seeds and formulas, so each run writes the same archive.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats.h"
#include "table_dimensions.h"
#include "zip_writer.h"

namespace assetgen {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kSampleRate = 22050;

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float Unit(std::uint32_t h) {
    return static_cast<float>(h >> 8) / 16777216.0f;
}

float Smooth(float t) {
    return t * t * (3 - 2 * t);
}

// Value noise in [0, 1) on an integer lattice; x and y are in lattice cells.
float ValueNoise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::uint32_t>(static_cast<std::int32_t>(fx));
    const auto iy = static_cast<std::uint32_t>(static_cast<std::int32_t>(fy));
    const float tx = Smooth(x - fx);
    const float ty = Smooth(y - fy);
    const float a = Unit(Hash(ix, iy, seed));
    const float b = Unit(Hash(ix + 1, iy, seed));
    const float c = Unit(Hash(ix, iy + 1, seed));
    const float d = Unit(Hash(ix + 1, iy + 1, seed));
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fractal(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0;
    float weight = 0.5f;
    float total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(x, y, seed + static_cast<std::uint32_t>(i)) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        weight /= 2;
    }
    return sum / total;
}

std::uint8_t Channel(float v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

Rgba Shade(float r, float g, float b, float factor, float alpha = 1) {
    return {Channel(r * factor), Channel(g * factor), Channel(b * factor), Channel(alpha * 255)};
}

// Tileable cloth: its noise wraps at the image size so the texture repeats along the bed without seams.
Image Felt() {
    constexpr int kSize = 512;
    constexpr float kCell = 32;
    Image image(kSize, kSize);
    const float period = kSize / kCell;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = x / kCell;
            const float v = y / kCell;
            const float tu = u / period;
            const float tv = v / period;
            // Blend four shifted copies so the noise meets itself at the edges.
            const float n = ValueNoise(u, v, 11) * (1 - tu) * (1 - tv) + ValueNoise(u - period, v, 11) * tu * (1 - tv) +
                            ValueNoise(u, v - period, 11) * (1 - tu) * tv +
                            ValueNoise(u - period, v - period, 11) * tu * tv;
            const float fibre = Unit(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 12)) - 0.5f;
            const float weave = ((x + y) & 1) ? 0.015f : -0.015f;
            image.At(x, y) = Shade(22, 116, 62, 0.88f + 0.2f * n + 0.08f * fibre + weave);
        }
    }
    return image;
}

Image RailWood() {
    constexpr int kW = 512;
    constexpr int kH = 256;
    Image image(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const float warp = Fractal(x / 96.0f, y / 48.0f, 3, 21) * 14;
            const float ring = 0.5f + 0.5f * std::sin((y + warp) * 0.21f);
            const float streak = ValueNoise(x / 24.0f, y / 1.5f, 22);
            const float pore = Unit(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 23)) - 0.5f;
            const float mix = ring * 0.65f + streak * 0.35f;
            const float r = 86 + (152 - 86) * mix;
            const float g = 44 + (92 - 44) * mix;
            const float b = 20 + (46 - 20) * mix;
            image.At(x, y) = Shade(r, g, b, 0.96f + 0.08f * pore);
        }
    }
    return image;
}

// Darker towards the rail, lighter at the nose where the light falls on the rubber.
Image Cushion() {
    constexpr int kW = 512;
    constexpr int kH = 64;
    Image image(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const float slope = 0.55f + 0.55f * y / (kH - 1);
            const float n = ValueNoise(x / 16.0f, y / 16.0f, 31);
            const float fibre = Unit(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 32)) - 0.5f;
            image.At(x, y) = Shade(18, 100, 52, slope * (0.94f + 0.1f * n + 0.06f * fibre));
        }
    }
    return image;
}

// 3x5 pixel digits, one row per nibble, top row first.
constexpr std::uint16_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

bool DigitInk(int number, float px, float py) {
    // Two-pixel font cells centred on (0, 0) in sprite pixels.
    const int digits = number >= 10 ? 2 : 1;
    const float width = digits * 6 + (digits - 1) * 2;
    const int cx = static_cast<int>(std::floor((px + width / 2) / 2));
    const int cy = static_cast<int>(std::floor((py + 5) / 2));
    if (cy < 0 || cy >= 5 || cx < 0) return false;
    const int glyph = cx / 4;
    const int column = cx % 4;
    if (glyph >= digits || column == 3) return false;
    const int digit = digits == 2 ? (glyph == 0 ? number / 10 : number % 10) : number;
    return (kDigits[digit][cy] >> (2 - column)) & 1;
}

struct Colour {
    float r, g, b;
};

constexpr Colour kBallColours[8] = {
    {245, 190, 20}, {25, 60, 170}, {205, 30, 30}, {100, 40, 140},
    {240, 110, 20}, {20, 120, 60}, {130, 30, 35}, {15, 15, 15},
};
constexpr Colour kIvory = {245, 245, 235};

// A lit sphere seen from above, number spot and stripe painted on the flat projection.
Image BallSprite(int number) {
    constexpr int kSize = 64;
    constexpr float kRadius = 30;
    Image image(kSize, kSize);
    const float lx = -0.4f, ly = -0.55f, lz = 0.73f;
    const float hx = lx, hy = ly, hz = lz + 1;
    const float hLength = std::sqrt(hx * hx + hy * hy + hz * hz);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float px = x + 0.5f - kSize / 2.0f;
            const float py = y + 0.5f - kSize / 2.0f;
            const float distance = std::sqrt(px * px + py * py);
            const float coverage = std::clamp(kRadius - distance + 0.5f, 0.0f, 1.0f);
            if (coverage <= 0) continue;
            const float nx = px / kRadius;
            const float ny = py / kRadius;
            const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));

            Colour c = number == 0 ? kIvory : kBallColours[(number - 1) % 8];
            if (number >= 9 && std::fabs(py) > kRadius * 0.5f) c = kIvory;
            if (number > 0 && distance < kRadius * 0.45f) {
                c = DigitInk(number, px, py) ? Colour{20, 20, 20} : kIvory;
            }
            const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            const float specular = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hLength), 40.0f);
            const float light = 0.3f + 0.7f * diffuse;
            image.At(x, y) = {Channel(c.r * light + 255 * specular), Channel(c.g * light + 255 * specular),
                              Channel(c.b * light + 255 * specular), Channel(coverage * 255)};
        }
    }
    return image;
}

Image BallShadow() {
    constexpr int kSize = 64;
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float px = (x + 0.5f - kSize / 2.0f) / 31;
            const float py = (y + 0.5f - kSize / 2.0f) / 31;
            const float d = std::sqrt(px * px + py * py);
            image.At(x, y) = {0, 0, 0, Channel(std::max(0.0f, 1 - d) * std::max(0.0f, 1 - d) * 170)};
        }
    }
    return image;
}

// Tip on the left, tapering out to the butt on the right.
Image Cue() {
    constexpr int kW = 512;
    constexpr int kH = 16;
    Image image(kW, kH);
    for (int x = 0; x < kW; ++x) {
        const float halfThickness = 3.0f + 4.5f * x / (kW - 1);
        Colour c;
        if (x < 5) {
            c = {70, 110, 170};
        } else if (x < 16) {
            c = {240, 235, 220};
        } else if (x < 300) {
            const float grain = ValueNoise(x / 40.0f, 0.5f, 41);
            c = {215 + 20 * grain, 180 + 18 * grain, 130 + 15 * grain};
        } else if (x < 310) {
            c = {200, 200, 205};
        } else if (x < 430) {
            const float wrap = Unit(Hash(static_cast<std::uint32_t>(x / 2), 0, 42));
            c = {35 + 20 * wrap, 35 + 20 * wrap, 40 + 20 * wrap};
        } else if (x < 506) {
            c = {92, 40, 24};
        } else {
            c = {18, 18, 18};
        }
        for (int y = 0; y < kH; ++y) {
            const float dy = y + 0.5f - kH / 2.0f;
            const float coverage = std::clamp(halfThickness - std::fabs(dy) + 0.5f, 0.0f, 1.0f);
            if (coverage <= 0) continue;
            const float across = std::min(1.0f, std::fabs(dy) / halfThickness);
            image.At(x, y) = Shade(c.r, c.g, c.b, 0.55f + 0.45f * std::sqrt(1 - across * across), coverage);
        }
    }
    return image;
}

class Sound {
public:
    explicit Sound(float seconds) : mix_(static_cast<std::size_t>(seconds * kSampleRate), 0.0f) {}

    // A struck, quickly damped resonance.
    void Ring(float start, float frequency, float amplitude, float decay) {
        for (std::size_t i = Index(start); i < mix_.size(); ++i) {
            const float t = static_cast<float>(i) / kSampleRate - start;
            mix_[i] += amplitude * std::exp(-t * decay) * std::sin(2 * kPi * frequency * t);
        }
    }

    // The contact transient: a few milliseconds of decaying noise.
    void Burst(float start, float amplitude, float decay, std::uint32_t seed) {
        for (std::size_t i = Index(start); i < mix_.size(); ++i) {
            const float t = static_cast<float>(i) / kSampleRate - start;
            const float noise = Unit(Hash(static_cast<std::uint32_t>(i), 0, seed)) * 2 - 1;
            mix_[i] += amplitude * std::exp(-t * decay) * noise;
        }
    }

    std::vector<std::int16_t> Samples() const {
        std::vector<std::int16_t> out;
        out.reserve(mix_.size());
        for (std::size_t i = 0; i < mix_.size(); ++i) {
            // A short fade-out avoids a click where the sample ends.
            const float fade = std::min(1.0f, static_cast<float>(mix_.size() - i) / 64);
            const float v = std::clamp(mix_[i] * fade, -1.0f, 1.0f) * 32767;
            out.push_back(static_cast<std::int16_t>(v < 0 ? v - 0.5f : v + 0.5f));
        }
        return out;
    }

private:
    std::size_t Index(float seconds) const {
        return std::min(mix_.size(), static_cast<std::size_t>(seconds * kSampleRate));
    }
    std::vector<float> mix_;
};

Bytes BallClick() {
    Sound s(0.15f);
    s.Burst(0, 0.5f, 900, 51);
    s.Ring(0, 2650, 0.35f, 45);
    s.Ring(0, 4120, 0.2f, 60);
    s.Ring(0, 5930, 0.1f, 80);
    return EncodeWav16(s.Samples(), kSampleRate);
}

Bytes CushionThud() {
    Sound s(0.3f);
    s.Burst(0, 0.35f, 250, 52);
    s.Ring(0, 140, 0.5f, 14);
    s.Ring(0, 92, 0.35f, 11);
    s.Ring(0, 610, 0.08f, 40);
    return EncodeWav16(s.Samples(), kSampleRate);
}

Bytes PocketDrop() {
    Sound s(0.5f);
    const float knocks[] = {0.0f, 0.06f, 0.11f, 0.19f};
    for (int i = 0; i < 4; ++i) {
        const float loudness = 1.0f / (1 + i);
        s.Burst(knocks[i], 0.3f * loudness, 500, 53 + static_cast<std::uint32_t>(i));
        s.Ring(knocks[i], 1900 - 230 * i, 0.25f * loudness, 55);
    }
    s.Ring(0.1f, 72, 0.4f, 7);
    return EncodeWav16(s.Samples(), kSampleRate);
}

// The cue ball hits the rack, then the balls spread and knock into each other with fading force.
Bytes Break() {
    Sound s(1.0f);
    s.Burst(0, 0.6f, 700, 60);
    s.Ring(0, 2600, 0.45f, 35);
    for (std::uint32_t i = 0; i < 28; ++i) {
        const float start = 0.02f + 0.9f * Unit(Hash(i, 1, 61)) * Unit(Hash(i, 2, 61));
        const float loudness = 0.35f * (1 - start);
        s.Burst(start, loudness * 0.6f, 900, 62 + i);
        s.Ring(start, 2300 + 900 * Unit(Hash(i, 3, 61)), loudness * 0.5f, 50);
    }
    return EncodeWav16(s.Samples(), kSampleRate);
}

Bytes TableDescription() {
    const int length = E3D_TABLE_LENGTH_MM;
    const int width = E3D_TABLE_WIDTH_MM;
    char text[2048];
    const int n = std::snprintf(text, sizeof text,
                                "; Kestrowin table description. Millimetres, from the top-left corner of the\r\n"
                                "; playing surface (the cloth between the cushion noses).\r\n"
                                "[table]\r\n"
                                "length = %d\r\n"
                                "width = %d\r\n"
                                "ball_diameter = %d\r\n"
                                "cushion = %d\r\n"
                                "rail = %d\r\n"
                                "cloth_texture = textures/felt.bmp\r\n"
                                "rail_texture = textures/rail_wood.bmp\r\n"
                                "cushion_texture = textures/cushion.bmp\r\n"
                                "\r\n"
                                "[pockets]\r\n"
                                "corner_radius = %d\r\n"
                                "side_radius = %d\r\n"
                                "count = 6\r\n"
                                "\r\n"
                                "[spots]\r\n"
                                "head_string_x = %d\r\n"
                                "foot_spot = %d, %d\r\n"
                                "cue_ball_start = %d, %d\r\n"
                                "rack = eight-ball\r\n"
                                "\r\n"
                                "[sounds]\r\n"
                                "ball_ball = sounds/ball_click.wav\r\n"
                                "ball_cushion = sounds/cushion_thud.wav\r\n"
                                "ball_pocket = sounds/pocket_drop.wav\r\n"
                                "break = sounds/break.wav\r\n",
                                length, width, E3D_BALL_DIAMETER_MM, E3D_CUSHION_MM, E3D_RAIL_MM,
                                E3D_CORNER_POCKET_RADIUS_MM, E3D_SIDE_POCKET_RADIUS_MM, length / 4, length * 3 / 4,
                                width / 2, length / 4, width / 2);
    if (n < 0 || n >= static_cast<int>(sizeof text)) throw std::length_error("table description too long");
    return Bytes(text, text + n);
}

Bytes Archive() {
    ZipWriter zip;
    zip.Add("table/table.txt", TableDescription());
    zip.Add("textures/felt.bmp", EncodeBmp24(Felt()));
    zip.Add("textures/rail_wood.bmp", EncodeBmp24(RailWood()));
    zip.Add("textures/cushion.bmp", EncodeBmp24(Cushion()));
    for (int number = 0; number <= 15; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "sprites/ball_%02d.tga", number);
        zip.Add(name, EncodeTga32(BallSprite(number)));
    }
    zip.Add("sprites/ball_shadow.tga", EncodeTga32(BallShadow()));
    zip.Add("sprites/cue.tga", EncodeTga32(Cue()));
    zip.Add("sounds/ball_click.wav", BallClick());
    zip.Add("sounds/cushion_thud.wav", CushionThud());
    zip.Add("sounds/pocket_drop.wav", PocketDrop());
    zip.Add("sounds/break.wav", Break());
    return zip.Finish();
}

// Written under a temporary name and renamed, so an interrupted run never leaves a truncated archive
// that the build would take as up to date.
void WriteFile(const std::string& path, const Bytes& data) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!out.flush()) throw std::runtime_error("cannot write " + temporary);
    }
    std::remove(path.c_str());
    if (std::rename(temporary.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot rename to " + path);
}

}  // namespace
}  // namespace assetgen

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.zip\n", argv[0]);
        return 2;
    }
    try {
        assetgen::WriteFile(argv[1], assetgen::Archive());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kw_assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
