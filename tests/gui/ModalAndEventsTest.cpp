// The modal window loader, the message box and the processing of pending events.
#include <gtest/gtest.h>

#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "answer/TextCodecs.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ModalLoader.h"
#include "toolkit/PendingEvents.h"

namespace tavelo {
namespace {

constexpr int kTimeoutMs = 30000;

// Runs `step` on the modal widget once one is up, from inside the modal loop.
void WhenModalIsUp(std::function<void(QWidget*)> step) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            step(modal);
        }
    });
    poll->start(10);
}

TEST(LoadModal, ReturnsOnceTheWindowHasBeenClosedAndDestroyed) {
    QWidget mainWindow;
    mainWindow.show();
    auto window = std::make_unique<QWidget>();
    QPointer<QWidget> watched = window.get();
    bool wasModalWhileShown = false;
    bool stillThereWhileShown = false;
    WhenModalIsUp([&](QWidget* modal) {
        wasModalWhileShown = modal == watched && modal->isModal();
        stillThereWhileShown = !watched.isNull();
        modal->close();
    });
    LoadModal(std::move(window));
    EXPECT_TRUE(wasModalWhileShown);
    EXPECT_TRUE(stillThereWhileShown);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ShowMessageBox, OkOnlyNoIconWithTheGivenTexts) {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QList<QAbstractButton*> buttons;
    WhenModalIsUp([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->buttons();
        box->button(QMessageBox::Ok)->click();
    });
    ShowMessageBox(Utf8ToGbk("头像请输入网址！"), Utf8ToGbk("信息："));
    EXPECT_EQ(text, QString::fromUtf8("头像请输入网址！"));
    EXPECT_EQ(title, QString::fromUtf8("信息："));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons.size(), 1);
}

TEST(ProcessPendingEvents, RunsQueuedCallsAndPendingPaints) {
    int calls = 0;
    QLabel label;
    QMetaObject::invokeMethod(
        &label, [&] { ++calls; }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &label, [&] { ++calls; }, Qt::QueuedConnection);
    ProcessPendingEvents();
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace tavelo
