// The window that carries a drop shadow: frameless, translucent with per-pixel alpha, passing
// every click through to what lies beneath, never activated, kept with its owner window.
#pragma once

#include <QImage>
#include <QWidget>

namespace tavelo {

class ShadowWindow : public QWidget {
    Q_OBJECT

public:
    // Owned by the owner: destroyed with it and, as its transient, kept above it.
    explicit ShadowWindow(QWidget* owner);

    // Shows this picture, the window's size, alpha and all.
    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace tavelo
