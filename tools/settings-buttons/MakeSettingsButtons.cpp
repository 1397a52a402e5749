// Draws the state pictures of the settings window's two title buttons and writes them as
// PNG files: a cross (close) and a bar (minimise), each 30 x 30 on a white ground, in the
// picture-button order normal, hover, pressed, disabled.
//
//   tavelo_make_settings_buttons <output directory>
//
// The pictures are committed beside this program; run it again after changing the artwork.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "platform/PngImage.h"

namespace {

constexpr int kSide = 30;
// Samples per pixel along each axis, for smooth diagonal edges.
constexpr int kSamples = 8;

struct Colour {
    std::uint8_t red, green, blue;
};

constexpr Colour kWhite{0xFF, 0xFF, 0xFF};
constexpr Colour kBlue{0x2C, 0x6E, 0xD5};

struct ButtonState {
    const char* name;
    Colour cross;
    Colour bar;
};

constexpr ButtonState kStates[] = {
    {"normal", kBlue, kBlue},
    {"hover", {0xFF, 0xB2, 0xB2}, {0x7F, 0x7F, 0x7F}},
    {"pressed", {0xFF, 0x33, 0x33}, {0x33, 0xB3, 0xED}},
    {"disabled", kBlue, kBlue},
};

// True when the point lies on the glyph; x and y are in pixels from the top-left corner.
using Shape = std::function<bool(double x, double y)>;

double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
    t = std::fmax(0.0, std::fmin(1.0, t));
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
}

// Two diagonals across the 10 x 10 square from (10, 10) to (20, 20), 1.6 pixels thick.
bool OnCross(double x, double y) {
    constexpr double kHalfWidth = 0.8;
    return DistanceToSegment(x, y, 10.5, 10.5, 19.5, 19.5) <= kHalfWidth ||
           DistanceToSegment(x, y, 19.5, 10.5, 10.5, 19.5) <= kHalfWidth;
}

// A bar 10 pixels wide and 3 high: columns 10 to 19, rows 14 to 16.
bool OnBar(double x, double y) {
    return x >= 10 && x < 20 && y >= 14 && y < 17;
}

std::uint8_t Blend(std::uint8_t ground, std::uint8_t ink, double coverage) {
    return static_cast<std::uint8_t>(std::lround(ground + (ink - ground) * coverage));
}

tavelo::RgbaImage Draw(const Shape& shape, Colour ink) {
    tavelo::RgbaImage image;
    image.width = kSide;
    image.height = kSide;
    image.pixels.reserve(kSide * kSide * 4);
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    hits += shape(column + (sx + 0.5) / kSamples, row + (sy + 0.5) / kSamples);
                }
            }
            const double coverage = static_cast<double>(hits) / (kSamples * kSamples);
            image.pixels.push_back(Blend(kWhite.red, ink.red, coverage));
            image.pixels.push_back(Blend(kWhite.green, ink.green, coverage));
            image.pixels.push_back(Blend(kWhite.blue, ink.blue, coverage));
            image.pixels.push_back(0xFF);
        }
    }
    return image;
}

bool Save(const tavelo::RgbaImage& image, const std::string& path) {
    const auto png = tavelo::EncodePng(image);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return !png.empty() && out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    for (const ButtonState& state : kStates) {
        const std::string close = directory + "/close-" + state.name + ".png";
        const std::string minimize = directory + "/minimize-" + state.name + ".png";
        if (!Save(Draw(OnCross, state.cross), close) || !Save(Draw(OnBar, state.bar), minimize)) {
            std::fprintf(stderr, "cannot write the pictures into %s\n", directory.c_str());
            return 1;
        }
    }
    return 0;
}
