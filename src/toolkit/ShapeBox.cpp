#include "toolkit/ShapeBox.h"

#include <algorithm>

#include <QPainter>

namespace tavelo {

ShapeBox::ShapeBox(QWidget* parent) : QWidget(parent) {}

void ShapeBox::setLineColour(const QColor& colour) {
    lineColour_ = colour;
    update();
}

void ShapeBox::setLineWidth(int width) {
    lineWidth_ = std::max(0, width);
    update();
}

void ShapeBox::setFillColour(const QColor& colour) {
    fillColour_ = colour;
    update();
}

ShapeBox* ShapeBox::duplicate() const {
    auto* copy = new ShapeBox(parentWidget());
    copy->setLineColour(lineColour_);
    copy->setLineWidth(lineWidth_);
    copy->setFillColour(fillColour_);
    copy->setGeometry(geometry());
    copy->setVisible(!isHidden());
    return copy;
}

void ShapeBox::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) {
        return;
    }
    QPainter painter(this);
    if (fillColour_.isValid()) {
        painter.fillRect(rect(), fillColour_);
    }
    if (lineWidth_ > 0 && lineColour_.isValid()) {
        const int w = width();
        const int h = height();
        const int line = std::min({lineWidth_, (w + 1) / 2, (h + 1) / 2});
        painter.fillRect(0, 0, w, line, lineColour_);
        painter.fillRect(0, h - line, w, line, lineColour_);
        painter.fillRect(0, line, line, h - 2 * line, lineColour_);
        painter.fillRect(w - line, line, line, h - 2 * line, lineColour_);
    }
}

}  // namespace tavelo
