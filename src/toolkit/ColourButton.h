// A push button painted flat in one background colour per state, with its caption centred.
#pragma once

#include <QColor>
#include <QPushButton>

namespace tavelo {

// Background: the hot colour while the pointer is over the button, else the focus colour
// while it has the keyboard focus, else the normal colour; a state without a valid colour of
// its own shows the normal one. The caption is drawn in textColour.
class ColourButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor normalColour READ normalColour WRITE setNormalColour)
    Q_PROPERTY(QColor hotColour READ hotColour WRITE setHotColour)
    Q_PROPERTY(QColor focusColour READ focusColour WRITE setFocusColour)
    Q_PROPERTY(QColor textColour READ textColour WRITE setTextColour)

public:
    explicit ColourButton(QWidget* parent = nullptr);

    QColor normalColour() const { return normalColour_; }
    void setNormalColour(const QColor& colour);
    QColor hotColour() const { return hotColour_; }
    void setHotColour(const QColor& colour);
    QColor focusColour() const { return focusColour_; }
    void setFocusColour(const QColor& colour);
    QColor textColour() const { return textColour_; }
    void setTextColour(const QColor& colour);

    // The background colour for the present state.
    QColor currentColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool focused_ = false;
    QColor normalColour_{Qt::white};
    QColor hotColour_;
    QColor focusColour_;
    QColor textColour_{Qt::black};
};

}  // namespace tavelo
