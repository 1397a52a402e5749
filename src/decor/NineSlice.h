// Drawing a picture stretched to any size in nine pieces: corners kept, edges stretched along
// one axis, the middle stretched both ways.
#pragma once

#include <QImage>
#include <QPainter>
#include <optional>

namespace tavelo {

// In picture pixels: the widths of the left column and the top row, and where the right
// column and the bottom row begin.
struct NineSliceMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The margins used when none are given: 20 pixels for pictures larger than 80 x 80, 10 for
// those larger than 50 x 50, 5 otherwise, on every side.
NineSliceMargins DefaultNineSliceMargins(int imageWidth, int imageHeight);

// Draws the picture into the rectangle at (x, y) of width x height. A null picture draws
// nothing; so does a piece that would come out with no area.
void DrawNineSlice(QPainter& graphics, const QImage* image, int x, int y, float width, float height,
                   std::optional<NineSliceMargins> margins = std::nullopt);

}  // namespace tavelo
