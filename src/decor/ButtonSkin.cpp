#include "decor/ButtonSkin.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>

#include "platform/PngImage.h"
#include "toolkit/QtImage.h"

namespace tavelo {

namespace {

constexpr int kFrames = 4;

}  // namespace

void ApplyButtonSkin(PictureButton* button, std::string_view strip, int frameWidth,
                     int frameHeight) {
    if (button == nullptr) {
        return;
    }
    frameWidth = std::max(frameWidth, 1);
    frameHeight = std::max(frameHeight, 1);
    const QImage picture = ToQImage(DecodePng(strip));

    // The whole strip over the title bar's colour, at least as large as the four frames.
    QImage source(std::max(picture.width(), kFrames * frameWidth),
                  std::max(picture.height(), frameHeight), QImage::Format_RGB32);
    source.fill(kTitleBarColour);
    if (!picture.isNull()) {
        QPainter painter(&source);
        painter.drawImage(0, 0, picture);
    }

    std::array<QPixmap, kFrames> frames;
    for (int i = 0; i < kFrames; ++i) {
        frames[i] = QPixmap::fromImage(source.copy(i * frameWidth, 0, frameWidth, frameHeight));
    }
    button->setPictures(frames[0], frames[1], frames[2], frames[3]);
}

}  // namespace tavelo
