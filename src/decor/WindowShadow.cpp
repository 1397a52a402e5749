#include "decor/WindowShadow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QVariant>

#include "decor/CompositingManager.h"

namespace tavelo {

namespace {

// Keeps the owner's shadow with it. Installed on the owner as an event filter, it lets every
// event through unchanged and places the shadow after the events that move, resize, show,
// hide, minimise or maximise the owner, and when a compositing manager comes or goes.
class ShadowOwnerEvents : public QObject {
public:
    explicit ShadowOwnerEvents(QWidget* owner) : QObject(owner), owner_(owner) {
        connect(
            &CompositingManager::Instance(), &CompositingManager::runningChanged, this,
            [this] { PlaceShadow(owner_); }, Qt::QueuedConnection);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != owner_) {
            return false;
        }
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                PlaceShadow(owner_);
                break;
            case QEvent::Show:
                // The owner is mapped only after its show event; placing the shadow once
                // that is done maps the shadow after it, above it.
                QMetaObject::invokeMethod(
                    this, [this] { PlaceShadow(owner_); }, Qt::QueuedConnection);
                break;
            case QEvent::Hide:
                PlaceShadow(owner_, false);
                break;
            default:
                break;
        }
        return false;
    }

private:
    QWidget* owner_;
};

QObject* HandlerOf(const QWidget* owner) {
    return owner->property(kShadowHandlerProperty).value<QPointer<QObject>>().data();
}

// The owner's rectangle on the screen.
QRect OwnerRect(const QWidget* owner) {
    return owner->isWindow() ? owner->frameGeometry()
                             : QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
}

void RemoveShadow(QWidget* window) {
    if (ShadowWindow* shadow = ShadowOf(window)) {
        shadow->setProperty(kShadowColorProperty, QVariant());
        shadow->setProperty(kShadowSizeProperty, QVariant());
        delete shadow;
    }
    window->setProperty(kShadowProperty, QVariant());
    if (QObject* handler = HandlerOf(window)) {
        window->removeEventFilter(handler);
        delete handler;
    }
    window->setProperty(kShadowHandlerProperty, QVariant());
}

}  // namespace

void StartGdiPlus() {
    if (qGuiApp != nullptr) {
        CompositingManager::Instance();
    }
}

bool SetWindowShadow(QWidget* window, ColourValue colour, int size) {
    if (window == nullptr) {
        return false;
    }
    if (size <= 0) {
        RemoveShadow(window);
        return false;
    }
    ShadowWindow* shadow = CreateShadowWindow(window);
    if (shadow == nullptr) {
        return false;
    }
    shadow->setProperty(kShadowColorProperty, colour);
    shadow->setProperty(kShadowSizeProperty, size);
    PlaceShadow(window);
    if (HandlerOf(window) == nullptr) {
        auto* handler = new ShadowOwnerEvents(window);
        window->installEventFilter(handler);
        window->setProperty(kShadowHandlerProperty,
                            QVariant::fromValue(QPointer<QObject>(handler)));
    }
    return true;
}

ShadowWindow* CreateShadowWindow(QWidget* owner) {
    if (ShadowWindow* shadow = ShadowOf(owner)) {
        return shadow;
    }
    auto* shadow = new ShadowWindow(owner);
    owner->setProperty(kShadowProperty, QVariant::fromValue(QPointer<QWidget>(shadow)));
    return shadow;
}

ShadowWindow* ShadowOf(const QWidget* owner) {
    return qobject_cast<ShadowWindow*>(
        owner->property(kShadowProperty).value<QPointer<QWidget>>().data());
}

void PlaceShadow(QWidget* owner, std::optional<bool> visible) {
    ShadowWindow* shadow = ShadowOf(owner);
    if (shadow == nullptr) {
        return;
    }
    if (!visible.value_or(owner->isVisible()) || owner->isMaximized() || owner->isMinimized() ||
        !CompositingManager::Instance().IsRunning()) {
        shadow->hide();
        return;
    }
    const QRect ownerRect = OwnerRect(owner);
    if (ownerRect.width() <= 0 || ownerRect.height() <= 0) {
        return;
    }
    const int size = shadow->property(kShadowSizeProperty).toInt();
    const QRect place = ownerRect.adjusted(-size, -size, size, size);
    shadow->setGeometry(place);
    RenderShadow(owner, place.width(), place.height());
    if (!shadow->isVisible()) {
        shadow->show();
    }
}

void RenderShadow(QWidget* owner, int width, int height) {
    ShadowWindow* shadow = ShadowOf(owner);
    if (shadow == nullptr) {
        return;
    }
    if (width <= 0 || height <= 0) {
        width = shadow->width();
        height = shadow->height();
        if (width <= 0 || height <= 0) {
            return;
        }
    }
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return;
    }
    picture.fill(Qt::transparent);
    PaintShadow(*shadow, picture);
    shadow->setPicture(std::move(picture));
}

}  // namespace tavelo
