// The picture of a window's drop shadow: the 5- and 10-pixel black shadows from the embedded
// frame pictures, any other width or colour as rings that grow more opaque toward the owner.
#pragma once

#include <QImage>
#include <QObject>
#include <QPainterPath>
#include <QRgb>
#include <cstdint>

#include "decor/MemoryImage.h"

namespace tavelo {

// A colour value as the program stores it: 0x00BBGGRR.
using ColourValue = std::uint32_t;

// Names of the shadow window's properties that say what to draw: the colour (ColourValue; 0
// means black, drawn from the embedded frames for widths 5 and 10) and the width (int, > 0).
inline constexpr char kShadowColorProperty[] = "Halvex.WndShadow.Color";
inline constexpr char kShadowSizeProperty[] = "Halvex.WndShadow.Size";

// The decoded frame pictures, process-wide: empty until the first shadow that needs them.
struct ShadowFrameImages {
    MemoryImage frame5;
    MemoryImage frame10;
};

// The process-wide frames, created empty by the first call and kept until the program ends.
ShadowFrameImages& ShadowFrames();

// Draws the shadow described by the shadow window's colour and width properties over the
// whole picture (transparent where nothing is drawn), which is the shadow window's size: the
// owner's rectangle grown by the width on every side. Nothing is drawn over the owner.
void PaintShadow(const QObject& shadow, QImage& picture);

// A rectangle with quarter-circle corners of the radius (clamped to 1..100); a plain
// rectangle for a radius of 0 or less.
QPainterPath RoundRectPath(float x, float y, float width, float height, int radius);

// The colour with the alpha, as 0xAARRGGBB.
QRgb ColorToArgb(ColourValue colour, int alpha);

}  // namespace tavelo
