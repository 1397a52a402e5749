// The settings window: the bot's nickname, the bot's avatar address and the user's own
// avatar address, shown as "chat.ini" holds them and saved back to it.
#pragma once

#include <memory>

#include <QColor>

#include "toolkit/BorderlessWindow.h"

class QLineEdit;

namespace tavelo {

namespace Ui {
class SettingsWindow;
}

class ShapeBox;

// Borderless like the main window: Esc or the cross close it without saving, and a drag on
// its background moves it. Each edit box is framed by a one-pixel line behind it, blue
// while the box has the focus and silver otherwise. A save checks the two avatar boxes,
// then updates the program's texts, writes "chat.ini" and closes the window. A close
// destroys the window.
class SettingsWindow : public BorderlessWindow {
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget* parent = nullptr);
    ~SettingsWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SaveSettings();

    std::unique_ptr<Ui::SettingsWindow> ui_;
};

// Shows `frame` behind `box`, one pixel larger on every side, outlined in `colour`, and
// takes the box's own border away.
void PlaceFocusFrame(QLineEdit* box, const QColor& colour, ShapeBox* frame);

// Opens a new settings window, modal and owned by no window, and returns once it has been
// destroyed.
void OpenSettingsWindow();

}  // namespace tavelo
