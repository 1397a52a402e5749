#include "platform/PngImage.h"

#include <png.h>

namespace tavelo {

namespace {

// Pictures larger than this are refused rather than decoded: no window needs them, and a
// hostile header could otherwise ask for gigabytes.
constexpr png_uint_32 kMaxSide = 8192;

// Owns a libpng simplified-API image and frees it on every path.
class PngImageHolder {
public:
    PngImageHolder() { image_.version = PNG_IMAGE_VERSION; }
    ~PngImageHolder() { png_image_free(&image_); }
    PngImageHolder(const PngImageHolder&) = delete;
    PngImageHolder& operator=(const PngImageHolder&) = delete;

    png_image* get() { return &image_; }

private:
    png_image image_{};
};

}  // namespace

RgbaImage DecodePng(std::string_view bytes) {
    PngImageHolder holder;
    png_image* image = holder.get();
    if (bytes.size() < 8 || !png_image_begin_read_from_memory(image, bytes.data(), bytes.size())) {
        return {};
    }
    if (image->width == 0 || image->height == 0 || image->width > kMaxSide ||
        image->height > kMaxSide) {
        return {};
    }
    image->format = PNG_FORMAT_RGBA;
    RgbaImage result;
    result.width = static_cast<int>(image->width);
    result.height = static_cast<int>(image->height);
    result.pixels.resize(PNG_IMAGE_SIZE(*image));
    if (!png_image_finish_read(image, nullptr, result.pixels.data(), 0, nullptr)) {
        return {};
    }
    return result;
}

std::vector<std::uint8_t> EncodePng(const RgbaImage& image) {
    if (image.empty() ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        return {};
    }
    PngImageHolder holder;
    png_image* png = holder.get();
    png->width = static_cast<png_uint_32>(image.width);
    png->height = static_cast<png_uint_32>(image.height);
    png->format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(png, nullptr, &size, 0, image.pixels.data(), 0, nullptr)) {
        return {};
    }
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(png, out.data(), &size, 0, image.pixels.data(), 0, nullptr)) {
        return {};
    }
    out.resize(size);
    return out;
}

}  // namespace tavelo
