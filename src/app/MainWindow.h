// The chat window: title bar, chat page, input box and the two buttons below it.
#pragma once

#include <memory>

#include "toolkit/BorderlessWindow.h"

namespace tavelo {

namespace Ui {
class MainWindow;
}

class ChatView;
class GradientLabel;
class KeyEditBox;

// Built from the form MainWindow.ui. Its creation gives it its drop shadow, writes the chat
// page file beside the program and shows it, makes the answer lock, skins the title-bar
// buttons and reads the settings; its events send the typed text, show the fixed reply,
// minimise the window, open the settings window and end the program.
class MainWindow : public BorderlessWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    ChatView* chatView() const;
    KeyEditBox* inputBox() const;
    GradientLabel* titleLabel() const;

private:
    // The steps that follow the window's creation, in their order.
    void onCreated();
    void connectEvents();

    void onInputKeyPressed(int keyCode, int modifierState);
    void onInputKeyReleased(int keyCode, int modifierState);
    void onSendClicked();
    void onFixedReplyClicked();
    void onMinimizeClicked();
    void onCloseClicked();

    std::unique_ptr<Ui::MainWindow> ui_;
};

}  // namespace tavelo
