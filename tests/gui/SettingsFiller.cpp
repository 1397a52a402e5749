#include "SettingsFiller.h"

#include <QApplication>
#include <QLineEdit>

#include "settings/SettingsWindow.h"
#include "toolkit/ColourButton.h"

namespace tavelo::test {

SettingsFiller::SettingsFiller(QString nickname) : nickname_(std::move(nickname)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { fillIfShown(); });
    timer_.start(10);
}

void SettingsFiller::fillIfShown() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* settings = qobject_cast<SettingsWindow*>(widget);
        if (settings != nullptr && settings->isVisible()) {
            timer_.stop();
            modal_ = settings->windowModality() == Qt::ApplicationModal;
            settings->findChild<QLineEdit*>("NicknameBox")->setText(nickname_);
            settings->findChild<ColourButton*>("SaveButton")->click();
            saved_ = true;
            return;
        }
    }
}

}  // namespace tavelo::test
