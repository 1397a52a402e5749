#include "toolkit/Canvas.h"

#include <QPainter>

namespace tavelo {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {}

void Canvas::setBackgroundColour(const QColor& colour) {
    backgroundColour_ = colour;
    repaintBackground();
}

void Canvas::setBackgroundPicture(const QImage& picture) {
    backgroundPicture_ = picture;
    repaintBackground();
}

void Canvas::repaintBackground() {
    QImage& target = surface();
    target.fill(backgroundColour_);
    if (!target.isNull() && !backgroundPicture_.isNull()) {
        QPainter painter(&target);
        painter.drawImage(0, 0, backgroundPicture_);
    }
    update();
}

void Canvas::drawImage(QPoint at, const QImage& image, const QRect& source) {
    QImage& target = surface();
    if (target.isNull()) {
        return;
    }
    QPainter painter(&target);
    painter.drawImage(at, image, source);
    update();
}

void Canvas::copyFrom(const Canvas& other, const QRect& source, QPoint at) {
    // A copy first: the source may be this canvas.
    const QImage piece = other.surface().copy(source);
    drawImage(at, piece, piece.rect());
}

QImage Canvas::content() const {
    return surface().copy();
}

QImage& Canvas::surface() const {
    if (surface_.size() != size()) {
        QImage resized;
        if (!size().isEmpty()) {
            resized = QImage(size(), QImage::Format_RGB32);
            resized.fill(backgroundColour_);
            if (!surface_.isNull()) {
                QPainter painter(&resized);
                painter.drawImage(0, 0, surface_);
            }
        }
        surface_ = resized;
    }
    return surface_;
}

void Canvas::paintEvent(QPaintEvent*) {
    const QImage& shown = surface();
    if (!shown.isNull()) {
        QPainter painter(this);
        painter.drawImage(0, 0, shown);
    }
}

}  // namespace tavelo
