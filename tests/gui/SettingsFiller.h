// Fills in and saves the settings window as soon as one shows, from a timer: the menu button's
// click runs the window modally and returns only once it has gone.
#pragma once

#include <QString>
#include <QTimer>

namespace tavelo::test {

class SettingsFiller {
public:
    // Watches for the settings window from now on; saves `nickname` into it when it shows.
    explicit SettingsFiller(QString nickname);

    // Whether a settings window has been saved, and whether it was application-modal.
    bool saved() const { return saved_; }
    bool wasModal() const { return modal_; }

private:
    void fillIfShown();

    QString nickname_;
    QTimer timer_;
    bool saved_ = false;
    bool modal_ = false;
};

}  // namespace tavelo::test
