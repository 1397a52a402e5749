// A rectangle with an outline and an optional fill, drawn as a control of its own.
#pragma once

#include <QColor>
#include <QWidget>

namespace tavelo {

// The outline lies on the box's outermost `lineWidth` pixels; the fill covers the inside.
// A box with no fill colour shows its parent through the inside; a box of zero height shows
// nothing but still keeps its colours. Presses are left to the parent window, so a shape box
// is a handle by which the window can be dragged.
class ShapeBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor lineColour READ lineColour WRITE setLineColour)
    Q_PROPERTY(int lineWidth READ lineWidth WRITE setLineWidth)
    Q_PROPERTY(QColor fillColour READ fillColour WRITE setFillColour)

public:
    explicit ShapeBox(QWidget* parent = nullptr);

    QColor lineColour() const { return lineColour_; }
    void setLineColour(const QColor& colour);
    int lineWidth() const { return lineWidth_; }
    void setLineWidth(int width);
    // An invalid colour means no fill.
    QColor fillColour() const { return fillColour_; }
    void setFillColour(const QColor& colour);

    // A new box on the same parent with the same colours, line, place, size and visibility.
    ShapeBox* duplicate() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor lineColour_{Qt::black};
    int lineWidth_ = 1;
    QColor fillColour_;
};

}  // namespace tavelo
