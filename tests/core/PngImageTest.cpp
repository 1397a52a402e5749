#include <gtest/gtest.h>

#include <png.h>

#include "platform/PngImage.h"

namespace tavelo {
namespace {

std::string AsBytes(const std::vector<std::uint8_t>& data) {
    return std::string(data.begin(), data.end());
}

RgbaImage TwoByOne() {
    return RgbaImage{2, 1, {255, 0, 0, 255, 0, 0, 255, 128}};
}

TEST(PngImage, RoundTripsRgba) {
    const auto encoded = EncodePng(TwoByOne());
    ASSERT_FALSE(encoded.empty());
    const RgbaImage decoded = DecodePng(AsBytes(encoded));
    EXPECT_EQ(decoded.width, 2);
    EXPECT_EQ(decoded.height, 1);
    EXPECT_EQ(decoded.pixels, TwoByOne().pixels);
}

TEST(PngImage, DecodesIndexedWithTransparencyTable) {
    // A 4-bit palette picture with a tRNS chunk, as the title-bar strips are stored.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP;
    image.colormap_entries = 2;
    const std::uint8_t colormap[] = {10, 20, 30, 255, 40, 50, 60, 0};
    const std::uint8_t indices[] = {0, 1};
    png_alloc_size_t size = 0;
    ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, indices, 0, colormap));
    std::vector<std::uint8_t> out(size);
    ASSERT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, indices, 0, colormap));
    png_image_free(&image);
    const RgbaImage decoded = DecodePng(AsBytes(out));
    ASSERT_EQ(decoded.width, 2);
    EXPECT_EQ(decoded.pixels[0], 10);
    EXPECT_EQ(decoded.pixels[3], 255);
    EXPECT_EQ(decoded.pixels[7], 0);
}

TEST(PngImage, BadInputGivesTheEmptyImage) {
    const std::string good = AsBytes(EncodePng(TwoByOne()));
    EXPECT_TRUE(DecodePng("").empty());
    EXPECT_TRUE(DecodePng("\x89PNG").empty());
    EXPECT_TRUE(DecodePng(good.substr(0, good.size() / 2)).empty());
    std::string corrupt = good;
    corrupt[good.size() - 20] ^= 0x55;  // inside the image data or its checksum
    EXPECT_TRUE(DecodePng(corrupt).empty());
    EXPECT_TRUE(DecodePng(std::string(200, 'x')).empty());
}

}  // namespace
}  // namespace tavelo
