// PNG pictures decoded with libpng into 8-bit RGBA pixels.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tavelo {

struct RgbaImage {
    int width = 0;
    int height = 0;
    // Rows top to bottom, four bytes a pixel: red, green, blue, straight (not premultiplied)
    // alpha.
    std::vector<std::uint8_t> pixels;

    bool empty() const { return width == 0 || height == 0; }
};

// Decodes any PNG (indexed, grey, with or without a transparency table, 16-bit) to RGBA.
// Anything that is not a complete, sane PNG gives the empty image.
RgbaImage DecodePng(std::string_view bytes);

// Encodes RGBA pixels as a PNG; empty on failure. Used by the generators and the tests.
std::vector<std::uint8_t> EncodePng(const RgbaImage& image);

}  // namespace tavelo
