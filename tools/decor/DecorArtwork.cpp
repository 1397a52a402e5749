#include "DecorArtwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>

namespace tavelo::artwork {

namespace {

using Rgba = std::array<std::uint8_t, 4>;

constexpr Rgba kClear = {255, 255, 255, 0};
constexpr Rgba kWhite = {255, 255, 255, 255};

constexpr Rgba White(int alpha) {
    return {255, 255, 255, static_cast<std::uint8_t>(alpha)};
}
constexpr Rgba Black(int alpha) {
    return {0, 0, 0, static_cast<std::uint8_t>(alpha)};
}
constexpr Rgba Opaque(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb), 255};
}

RgbaImage Blank(int width, int height) {
    return RgbaImage{width, height, std::vector<std::uint8_t>(width * height * 4, 0)};
}

void Put(RgbaImage& image, int x, int y, const Rgba& colour) {
    std::copy(colour.begin(), colour.end(), image.pixels.begin() + (y * image.width + x) * 4);
}

constexpr int kFrameSide = 100;

// A shadow frame from the alpha of each pixel: visible pixels are black, clear ones white.
RgbaImage ShadowFrame(const std::function<int(int x, int y)>& alphaAt) {
    RgbaImage image = Blank(kFrameSide, kFrameSide);
    for (int y = 0; y < kFrameSide; ++y) {
        for (int x = 0; x < kFrameSide; ++x) {
            const int alpha = alphaAt(x, y);
            Put(image, x, y, alpha == 0 ? kClear : Black(alpha));
        }
    }
    return image;
}

// Distance of a pixel from the nearer of the two opposite edges.
int Folded(int position) {
    return std::min(position, kFrameSide - 1 - position);
}

// ---- 5-pixel frame: an 11 x 11 corner mirrored into all four corners, a 5-pixel band between.

constexpr std::array<std::array<int, 11>, 11> kCorner5 = {{
    {0, 0, 0, 0, 3, 6, 9, 12, 13, 14, 15},
    {0, 0, 1, 7, 11, 16, 21, 25, 28, 30, 31},
    {0, 1, 8, 14, 21, 29, 37, 43, 47, 50, 52},
    {0, 7, 14, 23, 34, 46, 57, 65, 72, 76, 78},
    {2, 11, 21, 34, 50, 66, 81, 93, 102, 107, 110},
    {6, 16, 29, 46, 66, 0, 0, 0, 0, 0, 0},
    {9, 20, 36, 56, 81, 0, 0, 0, 0, 0, 0},
    {11, 24, 42, 65, 93, 0, 0, 0, 0, 0, 0},
    {12, 27, 47, 71, 102, 0, 0, 0, 0, 0, 0},
    {14, 29, 50, 76, 107, 0, 0, 0, 0, 0, 0},
    {14, 30, 52, 78, 110, 0, 0, 0, 0, 0, 0},
}};
constexpr std::array<int, 5> kBand5 = {15, 31, 53, 79, 111};
constexpr int kCorner5Size = 11;

int Frame5Alpha(int x, int y) {
    const int fx = Folded(x);
    const int fy = Folded(y);
    if (fx < kCorner5Size && fy < kCorner5Size) {
        return kCorner5[fy][fx];
    }
    const int depth = std::min(fx, fy);
    return depth < static_cast<int>(kBand5.size()) ? kBand5[depth] : 0;
}

// ---- 10-pixel frame: a 10-pixel band; the corners round it off over 19 pixels.

constexpr std::array<double, 10> kBand10TopLeft = {11, 19, 28, 40, 53, 68, 85, 105, 122, 137};
constexpr std::array<double, 10> kBand10BottomRight = {11, 19, 28, 40, 53, 68, 85, 105, 122, 124};
constexpr int kBand10Depth = 10;
constexpr int kCorner10Size = 19;

// Alpha at a depth measured from the outer edge, interpolated between whole pixels and faded
// out over the pixel outside the band.
double BandAlpha(const std::array<double, 10>& band, double depth) {
    if (depth <= -1.0 || depth > kBand10Depth - 1) {
        return 0.0;
    }
    if (depth < 0.0) {
        return band[0] * (1.0 + depth);
    }
    const int inner = static_cast<int>(depth);
    const double fraction = depth - inner;
    const double next = inner + 1 < kBand10Depth ? band[inner + 1] : band[inner];
    return band[inner] + (next - band[inner]) * fraction;
}

int Frame10Alpha(int x, int y) {
    const int fx = Folded(x);
    const int fy = Folded(y);
    if (fx >= kBand10Depth && fy >= kBand10Depth) {
        return 0;
    }
    const auto& horizontalEdge = y < kFrameSide / 2 ? kBand10TopLeft : kBand10BottomRight;
    const auto& verticalEdge = x < kFrameSide / 2 ? kBand10TopLeft : kBand10BottomRight;
    const auto& band = fy <= fx ? horizontalEdge : verticalEdge;
    if (fx >= kCorner10Size || fy >= kCorner10Size) {
        return static_cast<int>(band[std::min(fx, fy)]);
    }
    // Inside a corner the depth is measured from a quarter circle around the point where the
    // band's outer edges would meet 19 pixels in.
    const double radius = std::hypot(kCorner10Size - fx, kCorner10Size - fy);
    return static_cast<int>(std::lround(BandAlpha(band, kCorner10Size - radius)));
}

// ---- Title-bar strips.

constexpr int kStripHeight = 30;
constexpr int kFrames = 4;

// How much of a pixel a glyph covers.
enum class Cover { None, Full, EdgeLow, EdgeHigh, EdgeCross };

struct FrameLook {
    Rgba background;
    Rgba full;
    Rgba edgeLow;
    Rgba edgeHigh;
    Rgba edgeCross;
};

using Glyph = std::function<Cover(int x, int y)>;

RgbaImage Strip(int frameWidth, const Glyph& glyph, const std::array<FrameLook, kFrames>& looks) {
    RgbaImage image = Blank(frameWidth * kFrames, kStripHeight);
    for (int frame = 0; frame < kFrames; ++frame) {
        const FrameLook& look = looks[frame];
        for (int y = 0; y < kStripHeight; ++y) {
            for (int x = 0; x < frameWidth; ++x) {
                Rgba colour = look.background;
                switch (glyph(x, y)) {
                    case Cover::None:
                        break;
                    case Cover::Full:
                        colour = look.full;
                        break;
                    case Cover::EdgeLow:
                        colour = look.edgeLow;
                        break;
                    case Cover::EdgeHigh:
                        colour = look.edgeHigh;
                        break;
                    case Cover::EdgeCross:
                        colour = look.edgeCross;
                        break;
                }
                Put(image, frame * frameWidth + x, y, colour);
            }
        }
    }
    return image;
}

// The close cross: two one-pixel diagonals over 11 x 11 pixels from (14, 10), each smoothed
// by a pixel on either side, lighter at the ends; where the smoothing of both diagonals meets
// beside the centre it is slightly lighter still.
constexpr int kCrossLeft = 14;
constexpr int kCrossTop = 10;
constexpr int kCrossSide = 11;

Cover CrossCover(int x, int y) {
    const int u = x - kCrossLeft;
    const int v = y - kCrossTop;
    if (u < 0 || v < 0 || u >= kCrossSide || v >= kCrossSide) {
        return Cover::None;
    }
    if (u == v || u + v == kCrossSide - 1) {
        return Cover::Full;
    }
    // A pixel beside a diagonal: it touches the diagonal pixel in its row (i) and the one in
    // the row above or below.
    auto edgeOf = [](int along, int across) -> Cover {
        if (std::abs(along - across) != 1) {
            return Cover::None;
        }
        const int step = std::min(along, across);
        return (step == 0 || step == kCrossSide - 2) ? Cover::EdgeLow : Cover::EdgeHigh;
    };
    const Cover falling = edgeOf(u, v);
    const Cover rising = edgeOf(kCrossSide - 1 - u, v);
    if (falling != Cover::None && rising != Cover::None) {
        return Cover::EdgeCross;
    }
    return falling != Cover::None ? falling : rising;
}

Cover MaximizeCover(int x, int y) {
    const bool inside = x >= 10 && x <= 21 && y >= 10 && y <= 20;
    const bool outline = x == 10 || x == 21 || y <= 11 || y == 20;
    return inside && outline ? Cover::Full : Cover::None;
}

Cover MinimizeCover(int x, int y) {
    return x >= 11 && x <= 20 && y == 18 ? Cover::Full : Cover::None;
}

Cover MenuCover(int x, int y) {
    return x >= 11 && x <= 20 && (y == 11 || y == 15 || y == 19) ? Cover::Full : Cover::None;
}

// The 32-pixel buttons: the glyph on a clear frame, on a 10 % white or black veil, and dimmed.
constexpr std::array<FrameLook, kFrames> kVeiledLooks = {{
    {kClear, kWhite, kWhite, kWhite, kWhite},
    {White(26), kWhite, kWhite, kWhite, kWhite},
    {Black(26), kWhite, kWhite, kWhite, kWhite},
    {kClear, White(77), White(77), White(77), White(77)},
}};

}  // namespace

RgbaImage ShadowFrame5() {
    return ShadowFrame(Frame5Alpha);
}

RgbaImage ShadowFrame10() {
    return ShadowFrame(Frame10Alpha);
}

RgbaImage CloseButtonStrip() {
    constexpr std::array<FrameLook, kFrames> looks = {{
        {kClear, kWhite, White(60), White(112), White(111)},
        {Opaque(0xE94242), kWhite, Opaque(0xEE6E6E), Opaque(0xF39595), Opaque(0xF39595)},
        {Opaque(0xD72323), kWhite, Opaque(0xE15757), Opaque(0xE98484), Opaque(0xE88383)},
        {kClear, White(77), White(18), White(34), White(34)},
    }};
    return Strip(38, CrossCover, looks);
}

RgbaImage MaximizeButtonStrip() {
    return Strip(32, MaximizeCover, kVeiledLooks);
}

RgbaImage MinimizeButtonStrip() {
    return Strip(32, MinimizeCover, kVeiledLooks);
}

RgbaImage MenuButtonStrip() {
    return Strip(32, MenuCover, kVeiledLooks);
}

}  // namespace tavelo::artwork
