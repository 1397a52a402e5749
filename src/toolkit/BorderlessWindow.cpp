#include "toolkit/BorderlessWindow.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

namespace tavelo {

BorderlessWindow::BorderlessWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowSystemMenuHint) {
    // Esc reaches the window from any of its controls: a shortcut is offered to the window
    // before the focused control sees the key, and edit boxes do not claim Esc.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        // Posted, like a close request, so that the key event in progress ends first.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
}

void BorderlessWindow::centreOnScreen() {
    QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    const QRect area = target->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void BorderlessWindow::showEvent(QShowEvent* event) {
    if (!shownBefore_ && isWindow()) {
        shownBefore_ = true;
        centreOnScreen();
    }
    QWidget::showEvent(event);
}

void BorderlessWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isWindow()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    QWindow* handle = windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    grabOffset_ = event->globalPosition().toPoint() - pos();
}

void BorderlessWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!grabOffset_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        grabOffset_.reset();  // the release went elsewhere
        return;
    }
    event->accept();
    move(event->globalPosition().toPoint() - *grabOffset_);
}

void BorderlessWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (grabOffset_ && event->button() == Qt::LeftButton) {
        grabOffset_.reset();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace tavelo
