#include "toolkit/ColourButton.h"

#include <QEvent>
#include <QPainter>

namespace tavelo {

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    setFlat(true);
}

void ColourButton::setNormalColour(const QColor& colour) {
    normalColour_ = colour;
    update();
}

void ColourButton::setHotColour(const QColor& colour) {
    hotColour_ = colour;
    update();
}

void ColourButton::setFocusColour(const QColor& colour) {
    focusColour_ = colour;
    update();
}

void ColourButton::setTextColour(const QColor& colour) {
    textColour_ = colour;
    update();
}

QColor ColourButton::currentColour() const {
    if (underMouse() && hotColour_.isValid()) {
        return hotColour_;
    }
    if (focused_ && focusColour_.isValid()) {
        return focusColour_;
    }
    return normalColour_;
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), currentColour());
    painter.setPen(textColour_);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

bool ColourButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::HoverLeave:
            update();
            break;
        default:
            break;
    }
    return QPushButton::event(event);
}

void ColourButton::focusInEvent(QFocusEvent* event) {
    focused_ = true;
    QPushButton::focusInEvent(event);
}

void ColourButton::focusOutEvent(QFocusEvent* event) {
    focused_ = false;
    QPushButton::focusOutEvent(event);
}

}  // namespace tavelo
