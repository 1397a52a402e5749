#include "settings/SettingsWindow.h"

#include <array>

#include <QEvent>
#include <QLineEdit>

#include "app/AppState.h"
#include "decor/WindowShadow.h"
#include "embedded/SettingsCloseDisabledPng.h"
#include "embedded/SettingsCloseHoverPng.h"
#include "embedded/SettingsCloseNormalPng.h"
#include "embedded/SettingsClosePressedPng.h"
#include "embedded/SettingsMinimizeDisabledPng.h"
#include "embedded/SettingsMinimizeHoverPng.h"
#include "embedded/SettingsMinimizeNormalPng.h"
#include "embedded/SettingsMinimizePressedPng.h"
#include "settings/SettingsFile.h"
#include "text/TextSearch.h"
#include "toolkit/ColourButton.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ModalLoader.h"
#include "toolkit/PictureButton.h"
#include "toolkit/QtImage.h"
#include "toolkit/QtText.h"
#include "toolkit/ShapeBox.h"
#include "ui_SettingsWindow.h"

namespace tavelo {
namespace {

const QColor kRestFrameColour(0xC0, 0xC0, 0xC0);
const QColor kFocusFrameColour(0x00, 0x88, 0xFF);

// "头像请输入网址！" and "信息：" in code page 936.
constexpr std::string_view kNotAnAddressText =
    "\xCD\xB7\xCF\xF1\xC7\xEB\xCA\xE4\xC8\xEB\xCD\xF8\xD6\xB7\xA3\xA1";
constexpr std::string_view kNotAnAddressTitle = "\xD0\xC5\xCF\xA2\xA3\xBA";

// An avatar box may stay empty; otherwise it must hold "http" somewhere, in those exact
// letters and at a character start.
bool AcceptsAvatarAddress(std::string_view text) {
    return text.empty() || FindText(text, "http") != kNotFound;
}

}  // namespace

SettingsWindow::SettingsWindow(QWidget* parent)
    : BorderlessWindow(parent), ui_(std::make_unique<Ui::SettingsWindow>()) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    ui_->SettingsMinimizeButton->setPictures(
        PixmapFromPng(embedded::SettingsMinimizeNormalPng()),
        PixmapFromPng(embedded::SettingsMinimizeHoverPng()),
        PixmapFromPng(embedded::SettingsMinimizePressedPng()),
        PixmapFromPng(embedded::SettingsMinimizeDisabledPng()));
    ui_->SettingsCloseButton->setPictures(PixmapFromPng(embedded::SettingsCloseNormalPng()),
                                          PixmapFromPng(embedded::SettingsCloseHoverPng()),
                                          PixmapFromPng(embedded::SettingsClosePressedPng()),
                                          PixmapFromPng(embedded::SettingsCloseDisabledPng()));
    connect(ui_->SettingsCloseButton, &PictureButton::clicked, this, &QWidget::close);
    connect(ui_->SaveButton, &ColourButton::clicked, this, &SettingsWindow::SaveSettings);

    // The window has been created: dress it.
    SetWindowShadow(this, 0);
    const QColor accent = ui_->AccentColourBox->lineColour();
    ui_->SaveButton->setNormalColour(accent);
    ui_->SaveButton->setHotColour(accent);
    ui_->SaveButton->setFocusColour(accent);

    auto& frames = App().FocusFrames;
    for (auto& frame : frames) {
        frame = ui_->FrameTemplate->duplicate();
        frame->setVisible(false);
    }
    const std::array<QLineEdit*, 4> boxes = {ui_->NicknameBox, ui_->BotAvatarBox, ui_->OwnAvatarBox,
                                             ui_->SmartReplyBox};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        PlaceFocusFrame(boxes[i], kRestFrameColour, frames[i]);
        boxes[i]->installEventFilter(this);
    }

    // The boxes show what the file holds, not what the program is using.
    ui_->NicknameBox->setText(ToQString(ReadSetting(kNicknameKey)));
    ui_->BotAvatarBox->setText(ToQString(ReadSetting(kBotAvatarKey)));
    ui_->OwnAvatarBox->setText(ToQString(ReadSetting(kOwnAvatarKey)));
}

SettingsWindow::~SettingsWindow() = default;

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const std::array<QObject*, 4> boxes = {ui_->NicknameBox, ui_->BotAvatarBox,
                                               ui_->OwnAvatarBox, ui_->SmartReplyBox};
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i] == watched) {
                PlaceFocusFrame(
                    static_cast<QLineEdit*>(watched),
                    event->type() == QEvent::FocusIn ? kFocusFrameColour : kRestFrameColour,
                    App().FocusFrames[i]);
            }
        }
    }
    return BorderlessWindow::eventFilter(watched, event);
}

void SettingsWindow::SaveSettings() {
    if (!AcceptsAvatarAddress(ToText(ui_->BotAvatarBox->text())) ||
        !AcceptsAvatarAddress(ToText(ui_->OwnAvatarBox->text()))) {
        ShowMessageBox(kNotAnAddressText, kNotAnAddressTitle);
        return;
    }
    AppState& app = App();
    app.BotNickname = ToText(ui_->NicknameBox->text());
    app.BotAvatarUrl = ToText(ui_->BotAvatarBox->text());
    app.OwnAvatarUrl = ToText(ui_->OwnAvatarBox->text());
    WriteSetting(kNicknameKey, ToText(ui_->NicknameBox->text()));
    WriteSetting(kBotAvatarKey, ToText(ui_->BotAvatarBox->text()));
    WriteSetting(kOwnAvatarKey, ToText(ui_->OwnAvatarBox->text()));
    HideSettingsFile();
    close();
}

void PlaceFocusFrame(QLineEdit* box, const QColor& colour, ShapeBox* frame) {
    if (frame == nullptr) {
        return;
    }
    frame->setVisible(true);
    box->setFrame(false);
    box->raise();
    frame->lower();
    frame->resize(box->width() + 2, box->height() + 2);
    frame->move(box->x() - 1, box->y() - 1);
    frame->setLineColour(colour);
}

void OpenSettingsWindow() {
    LoadModal(std::make_unique<SettingsWindow>());
}

}  // namespace tavelo
