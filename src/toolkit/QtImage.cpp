#include "toolkit/QtImage.h"

namespace tavelo {

QImage ToQImage(const RgbaImage& image) {
    if (image.empty()) {
        return {};
    }
    return QImage(image.pixels.data(), image.width, image.height, image.width * 4,
                  QImage::Format_RGBA8888)
        .copy();
}

QPixmap PixmapFromPng(std::string_view pngBytes) {
    return QPixmap::fromImage(ToQImage(DecodePng(pngBytes)));
}

}  // namespace tavelo
