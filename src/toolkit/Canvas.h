// A drawing surface: a background colour, an optional background picture and what has been
// drawn onto it, readable back as one picture.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tavelo {

// The surface always has the canvas's size and is opaque: the background picture is shown at
// its natural size from the top-left corner, blended over the background colour. Resizing
// keeps what was drawn at the top left and fills new area with the background colour.
class Canvas : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColour READ backgroundColour WRITE setBackgroundColour)

public:
    explicit Canvas(QWidget* parent = nullptr);

    QColor backgroundColour() const { return backgroundColour_; }
    // Clears the surface to the colour and draws the background picture again.
    void setBackgroundColour(const QColor& colour);
    // Clears the surface to the background colour and draws the picture over it.
    void setBackgroundPicture(const QImage& picture);

    // Draws the `source` rectangle of `image` with its top-left corner at `at`.
    void drawImage(QPoint at, const QImage& image, const QRect& source);
    // Copies a rectangle of another canvas's surface to `at` on this one.
    void copyFrom(const Canvas& other, const QRect& source, QPoint at);

    // What the canvas shows now, as an opaque picture of its size.
    QImage content() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void repaintBackground();
    // Brings the surface to the canvas's size. Hidden widgets get no resize events, and
    // hidden canvases are the usual case, so every use checks.
    QImage& surface() const;

    QColor backgroundColour_{Qt::white};
    QImage backgroundPicture_;
    mutable QImage surface_;
};

}  // namespace tavelo
