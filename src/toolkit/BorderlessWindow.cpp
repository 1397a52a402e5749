#include "toolkit/BorderlessWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace tavelo {

BorderlessWindow::BorderlessWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowSystemMenuHint) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool BorderlessWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        // Posted, like a close request, so that the key event in progress ends first.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return true;
    }
    return false;
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
