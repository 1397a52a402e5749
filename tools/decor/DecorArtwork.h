// The decoration pictures drawn pixel by pixel: the two shadow frames and the four title-bar
// button strips.
#pragma once

#include "platform/PngImage.h"

namespace tavelo::artwork {

// 100 x 100 shadow frames: black with alpha along the edges, alpha 0 (white) inside.
RgbaImage ShadowFrame5();
RgbaImage ShadowFrame10();

// 30 pixels high, four frames side by side: normal, hover, pressed, disabled.
RgbaImage CloseButtonStrip();
RgbaImage MaximizeButtonStrip();
RgbaImage MinimizeButtonStrip();
RgbaImage MenuButtonStrip();

}  // namespace tavelo::artwork
