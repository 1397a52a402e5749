// Dressing the title-bar buttons from their picture strips: four frames side by side (normal,
// hover, pressed, disabled) cut apart and laid over the title bar's colour.
#pragma once

#include <QColor>
#include <string_view>

#include "toolkit/PictureButton.h"

namespace tavelo {

// The title bar's colour behind the buttons, RGB(23, 196, 232).
inline const QColor kTitleBarColour{23, 196, 232};

// Gives the button its four state pictures, each an opaque frameWidth x frameHeight picture
// cut from the strip (PNG bytes) at x = i * frameWidth and blended over the title bar's
// colour. What lies beyond the strip shows the title bar's colour; a strip that does not
// decode gives four plain pictures of it.
void ApplyButtonSkin(PictureButton* button, std::string_view strip, int frameWidth,
                     int frameHeight);

}  // namespace tavelo
