#include "decor/NineSlice.h"

namespace tavelo {

NineSliceMargins DefaultNineSliceMargins(int imageWidth, int imageHeight) {
    int margin = 5;
    if (imageWidth > 80 && imageHeight > 80) {
        margin = 20;
    } else if (imageWidth > 50 && imageHeight > 50) {
        margin = 10;
    }
    return {margin, margin, imageWidth - margin, imageHeight - margin};
}

void DrawNineSlice(QPainter& graphics, const QImage* image, int x, int y, float width, float height,
                   std::optional<NineSliceMargins> margins) {
    if (image == nullptr || image->isNull()) {
        return;
    }
    const int iw = image->width();
    const int ih = image->height();
    const NineSliceMargins m = margins.value_or(DefaultNineSliceMargins(iw, ih));
    const int cw = m.right - m.left;
    const int ch = m.bottom - m.top;
    const int rw = iw - m.right;
    const int bh = ih - m.bottom;
    const int dw = static_cast<int>(width - m.left - rw);
    const int dh = static_cast<int>(height - m.top - bh);
    const float right = x + width - rw;
    const float bottom = y + height - bh;

    struct Piece {
        QRectF destination;
        QRectF source;
    };
    const Piece pieces[] = {
        {{float(x), float(y), float(m.left), float(m.top)}, {0, 0, float(m.left), float(m.top)}},
        {{float(x + m.left), float(y), float(dw), float(m.top)},
         {float(m.left), 0, float(cw), float(m.top)}},
        {{right, float(y), float(rw), float(m.top)}, {float(m.right), 0, float(rw), float(m.top)}},
        {{float(x), float(y + m.top), float(m.left), float(dh)},
         {0, float(m.top), float(m.left), float(ch)}},
        {{float(x + m.left), float(y + m.top), float(dw), float(dh)},
         {float(m.left), float(m.top), float(cw), float(ch)}},
        {{right, float(y + m.top), float(rw), float(dh)},
         {float(m.right), float(m.top), float(rw), float(ch)}},
        {{float(x), bottom, float(m.left), float(bh)},
         {0, float(m.bottom), float(m.left), float(bh)}},
        {{float(x + m.left), bottom, float(dw), float(bh)},
         {float(m.left), float(m.bottom), float(cw), float(bh)}},
        {{right, bottom, float(rw), float(bh)},
         {float(m.right), float(m.bottom), float(rw), float(bh)}},
    };
    for (const Piece& piece : pieces) {
        // A negative size would draw the piece mirrored: a target smaller than the corners
        // gets the corners alone.
        if (piece.destination.width() > 0 && piece.destination.height() > 0 &&
            piece.source.width() > 0 && piece.source.height() > 0) {
            graphics.drawImage(piece.destination, *image, piece.source);
        }
    }
}

}  // namespace tavelo
