// Embedded PNG pictures as Qt images.
#pragma once

#include <QImage>
#include <QPixmap>

#include "platform/PngImage.h"

namespace tavelo {

// A deep copy of the pixels as a QImage (Format_RGBA8888); null for the empty image.
QImage ToQImage(const RgbaImage& image);

// Decodes PNG bytes (with libpng) into a pixmap; null for anything that is not a PNG.
QPixmap PixmapFromPng(std::string_view pngBytes);

}  // namespace tavelo
