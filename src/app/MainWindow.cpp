#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/ChatPageFile.h"
#include "app/ExitRoutine.h"
#include "app/MessageFlow.h"
#include "decor/ButtonSkin.h"
#include "decor/WindowShadow.h"
#include "embedded/CloseButtonStrip.h"
#include "embedded/FixedReplyButtonHoverPng.h"
#include "embedded/FixedReplyButtonNormalPng.h"
#include "embedded/FixedReplyButtonPressedPng.h"
#include "embedded/MaximizeButtonStrip.h"
#include "embedded/MenuButtonStrip.h"
#include "embedded/MinimizeButtonStrip.h"
#include "embedded/SendButtonHoverPng.h"
#include "embedded/SendButtonNormalPng.h"
#include "embedded/SendButtonPressedPng.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsWindow.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/PendingEvents.h"
#include "toolkit/QtImage.h"
#include "toolkit/QtText.h"
#include "ui_MainWindow.h"

namespace tavelo {

namespace {

// Enter sends unless Ctrl alone is held; Ctrl+Enter only breaks the line.
bool IsSendKey(int keyCode, int modifierState) {
    return keyCode == kKeyEnter && modifierState != kModifierCtrl;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : BorderlessWindow(parent), ui_(new Ui::MainWindow) {
    ui_->setupUi(this);
    ui_->SendButton->setPictures(PixmapFromPng(embedded::SendButtonNormalPng()),
                                 PixmapFromPng(embedded::SendButtonHoverPng()),
                                 PixmapFromPng(embedded::SendButtonPressedPng()));
    ui_->FixedReplyButton->setPictures(PixmapFromPng(embedded::FixedReplyButtonNormalPng()),
                                       PixmapFromPng(embedded::FixedReplyButtonHoverPng()),
                                       PixmapFromPng(embedded::FixedReplyButtonPressedPng()));
    ui_->InputBox->setFocus();
    App().mainWindow = this;
    onCreated();
    connectEvents();
}

MainWindow::~MainWindow() = default;

ChatView* MainWindow::chatView() const {
    return ui_->ChatView;
}

KeyEditBox* MainWindow::inputBox() const {
    return ui_->InputBox;
}

GradientLabel* MainWindow::titleLabel() const {
    return ui_->TitleLabel;
}

void MainWindow::onCreated() {
    AppState& app = App();
    SetWindowShadow(this, 0);
    if (!app.AnswerLock) {
        app.AnswerLock = std::make_unique<std::recursive_mutex>();
    }
    WriteChatPageFile();
    ui_->ChatView->setAddress(ToQString(ChatPagePath()));
    // The input area lies over the lowest part of the chat view.
    ui_->InputSeparator->raise();
    ui_->ChatView->lower();
    ApplyButtonSkin(ui_->CloseButton, embedded::CloseButtonStrip(), 38, 30);
    ApplyButtonSkin(ui_->MaximizeButton, embedded::MaximizeButtonStrip(), 32, 30);
    ApplyButtonSkin(ui_->MinimizeButton, embedded::MinimizeButtonStrip(), 32, 30);
    ApplyButtonSkin(ui_->MenuButton, embedded::MenuButtonStrip(), 32, 30);
    app.BotNickname = ReadSetting(kNicknameKey);
    app.BotAvatarUrl = ReadSetting(kBotAvatarKey);
    app.OwnAvatarUrl = ReadSetting(kOwnAvatarKey);
}

void MainWindow::connectEvents() {
    connect(ui_->InputBox, &KeyEditBox::keyPressed, this, &MainWindow::onInputKeyPressed);
    connect(ui_->InputBox, &KeyEditBox::keyReleased, this, &MainWindow::onInputKeyReleased);
    connect(ui_->SendButton, &PictureButton::clicked, this, &MainWindow::onSendClicked);
    connect(ui_->FixedReplyButton, &PictureButton::clicked, this, &MainWindow::onFixedReplyClicked);
    connect(ui_->MinimizeButton, &PictureButton::clicked, this, &MainWindow::onMinimizeClicked);
    connect(ui_->CloseButton, &PictureButton::clicked, this, &MainWindow::onCloseClicked);
    // The settings window is modal and owned by no window; the click returns once it is gone.
    connect(ui_->MenuButton, &PictureButton::clicked, this, [] { OpenSettingsWindow(); });
}

void MainWindow::onInputKeyPressed(int keyCode, int modifierState) {
    if (IsSendKey(keyCode, modifierState)) {
        Text message = ui_->InputBox->text();
        SendChatMessage(message);
    }
}

void MainWindow::onInputKeyReleased(int keyCode, int modifierState) {
    if (IsSendKey(keyCode, modifierState)) {
        ui_->InputBox->setText("");
    }
}

void MainWindow::onSendClicked() {
    Text message = ui_->InputBox->text();
    SendChatMessage(message);
}

void MainWindow::onFixedReplyClicked() {
    Text message = "233";
    SendChatMessage(message, 1);
}

void MainWindow::onMinimizeClicked() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void MainWindow::onCloseClicked() {
    ProcessPendingEvents();
    delete this;
    EndProgram(0);
}

}  // namespace tavelo
