#include "decor/ShadowPicture.h"

#include <QPainter>
#include <QRegion>
#include <QVariant>
#include <algorithm>

#include "decor/NineSlice.h"
#include "embedded/ShadowFrame10.h"
#include "embedded/ShadowFrame5.h"

namespace tavelo {

namespace {

// The frame's picture, decoded on first use; a failed decode is tried again next time.
const QImage* FrameImage(MemoryImage& frame, std::string_view pngBytes) {
    if (frame.Handle() == nullptr) {
        frame.Load(pngBytes);
    }
    return frame.Handle();
}

// One-pixel rounded rectangles from the outside in, clipped to outside the owner.
void PaintRings(QPainter& painter, ColourValue colour, int size, int width, int height) {
    const int step = (size > 8 ? 150 : 100) / size;
    painter.setClipRegion(
        QRegion(0, 0, width, height)
            .subtracted(QRegion(size, size, width - 2 * size, height - 2 * size)));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // A one-pixel line centred on a pixel's middle covers that pixel exactly; the rings'
    // rectangles are given in whole pixels, so their lines go through the middles.
    painter.translate(0.5, 0.5);
    for (int i = 1; i <= size; ++i) {
        painter.setPen(QPen(QColor::fromRgba(ColorToArgb(colour, step * i)), 1.0));
        painter.drawPath(RoundRectPath(float(i - 1), float(i - 1), float(width - 2 * i + 1),
                                       float(height - 2 * i + 1), 4));
    }
}

}  // namespace

ShadowFrameImages& ShadowFrames() {
    static ShadowFrameImages frames;
    return frames;
}

void PaintShadow(const QObject& shadow, QImage& picture) {
    const auto colour = static_cast<ColourValue>(shadow.property(kShadowColorProperty).toUInt());
    const int size = shadow.property(kShadowSizeProperty).toInt();
    if (size <= 0 || picture.isNull()) {
        return;
    }
    QPainter painter(&picture);
    const float width = float(picture.width());
    const float height = float(picture.height());
    if (size == 5 && colour == 0) {
        DrawNineSlice(painter, FrameImage(ShadowFrames().frame5, embedded::ShadowFrame5()), 0, 0,
                      width, height);
    } else if (size == 10 && colour == 0) {
        DrawNineSlice(painter, FrameImage(ShadowFrames().frame10, embedded::ShadowFrame10()), 0, 0,
                      width, height);
    } else {
        PaintRings(painter, colour, size, picture.width(), picture.height());
    }
}

QPainterPath RoundRectPath(float x, float y, float width, float height, int radius) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    if (radius <= 0) {
        path.addRect(x, y, width, height);
        return path;
    }
    const float d = 2.0f * float(std::clamp(radius, 1, 100));
    // Corners clockwise from the top left; Qt's angles run counter-clockwise.
    path.arcMoveTo(x, y, d, d, 180);
    path.arcTo(x, y, d, d, 180, -90);
    path.arcTo(x + width - d, y, d, d, 90, -90);
    path.arcTo(x + width - d, y + height - d, d, d, 0, -90);
    path.arcTo(x, y + height - d, d, d, 270, -90);
    path.closeSubpath();
    return path;
}

QRgb ColorToArgb(ColourValue colour, int alpha) {
    const std::uint32_t red = colour & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) | (red << 16) | (green << 8) | blue;
}

}  // namespace tavelo
