#include "toolkit/PictureButton.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>

namespace tavelo {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void PictureButton::setPicture(ButtonState state, const QPixmap& picture) {
    pictures_[static_cast<std::size_t>(state)] = picture;
    update();
}

QPixmap PictureButton::picture(ButtonState state) const {
    return pictures_[static_cast<std::size_t>(state)];
}

void PictureButton::setPictures(const QPixmap& normal, const QPixmap& hover, const QPixmap& pressed,
                                const QPixmap& disabled) {
    pictures_ = {normal, hover, pressed, disabled};
    update();
}

ButtonState PictureButton::currentState() const {
    if (!isEnabled()) {
        return ButtonState::Disabled;
    }
    if (isDown()) {
        return ButtonState::Pressed;
    }
    if (underMouse() && QGuiApplication::mouseButtons() == Qt::NoButton) {
        return ButtonState::Hover;
    }
    return ButtonState::Normal;
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPixmap shown = picture(currentState());
    if (shown.isNull()) {
        shown = picture(ButtonState::Normal);
    }
    if (shown.isNull()) {
        return;
    }
    const QSize size = shown.deviceIndependentSize().toSize();
    QPainter painter(this);
    painter.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, shown);
}

bool PictureButton::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::HoverEnter:
        case QEvent::HoverLeave:
        case QEvent::MouseButtonRelease:
            update();
            break;
        default:
            break;
    }
    return QAbstractButton::event(event);
}

}  // namespace tavelo
