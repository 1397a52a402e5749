#include "IndexedPng.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstring>

namespace tavelo {

namespace {

constexpr int kMaxColours = 16;

using Rgba = std::array<std::uint8_t, 4>;

// Owns a libpng write structure and its info structure.
class PngWriter {
public:
    PngWriter()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    bool ok() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

}  // namespace

std::vector<std::uint8_t> EncodeIndexedPng4(const RgbaImage& image) {
    if (image.empty() ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        return {};
    }

    std::vector<Rgba> palette;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        Rgba colour;
        std::memcpy(colour.data(), &image.pixels[i * 4], 4);
        std::size_t index = 0;
        while (index < palette.size() && palette[index] != colour) {
            ++index;
        }
        if (index == palette.size()) {
            if (palette.size() == kMaxColours) {
                return {};
            }
            palette.push_back(colour);
        }
        indices[i] = static_cast<std::uint8_t>(index);
    }

    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) + 1) / 2;
    std::vector<std::uint8_t> packed(rowBytes * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t index = indices[static_cast<std::size_t>(y) * image.width + x];
            packed[y * rowBytes + x / 2] |= (x % 2 == 0) ? index << 4 : index;
        }
    }

    std::vector<png_color> colours;
    std::vector<png_byte> alphas;
    for (const Rgba& c : palette) {
        colours.push_back(png_color{c[0], c[1], c[2]});
        alphas.push_back(c[3]);
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < image.height; ++y) {
        rows.push_back(&packed[y * rowBytes]);
    }

    std::vector<std::uint8_t> out;
    PngWriter writer;
    if (!writer.ok()) {
        return {};
    }
    // libpng reports errors by a long jump back here; everything above is owned by objects
    // whose lifetime spans the whole function, so nothing leaks when it lands.
    if (setjmp(png_jmpbuf(writer.png()))) {
        return {};
    }
    png_set_write_fn(writer.png(), &out, AppendToVector, FlushNothing);
    png_set_IHDR(writer.png(), writer.info(), static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 4, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(writer.png(), writer.info(), colours.data(), static_cast<int>(colours.size()));
    png_set_tRNS(writer.png(), writer.info(), alphas.data(), static_cast<int>(alphas.size()),
                 nullptr);
    png_set_compression_level(writer.png(), 9);
    png_write_info(writer.png(), writer.info());
    png_write_image(writer.png(), rows.data());
    png_write_end(writer.png(), nullptr);
    return out;
}

}  // namespace tavelo
