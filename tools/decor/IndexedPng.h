// Writing pictures of at most sixteen colours as 4-bit palette PNGs.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/PngImage.h"

namespace tavelo {

// Encodes the picture with a palette of its distinct RGBA colours, in order of first
// appearance, four bits a pixel, with a transparency table for the alphas, not interlaced.
// Empty when the picture is empty or has more than sixteen colours.
std::vector<std::uint8_t> EncodeIndexedPng4(const RgbaImage& image);

}  // namespace tavelo
