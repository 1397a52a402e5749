// A button drawn entirely from pictures: one for each of its states.
#pragma once

#include <array>

#include <QAbstractButton>
#include <QPixmap>

namespace tavelo {

// The states in the order in which a button's pictures are given.
enum class ButtonState { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

// Shows the picture of its present state centred on the button: disabled when disabled,
// pressed while the left button that went down on it is held with the pointer over it, hover
// while the pointer is over it and no mouse button is held, normal otherwise, and normal
// whenever the state's own picture is missing. Takes no keyboard focus.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setPicture(ButtonState state, const QPixmap& picture);
    QPixmap picture(ButtonState state) const;
    // Sets all four, in state order; a null pixmap leaves that state without its own picture.
    void setPictures(const QPixmap& normal, const QPixmap& hover, const QPixmap& pressed,
                     const QPixmap& disabled = {});

    ButtonState currentState() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::array<QPixmap, 4> pictures_;
};

}  // namespace tavelo
