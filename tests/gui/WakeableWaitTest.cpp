#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/WakeableWait.h"

namespace tavelo {
namespace {

// A result that another thread delivers, then wakes the wait, as a worker publishes an answer.
struct Delivery {
    std::atomic<bool> arrived = false;
    std::function<void()> waker;

    void Deliver() {
        arrived = true;
        waker();
    }
};

TEST(WakeableWait, EndsWhenAnotherThreadDeliversAndWakes) {
    WakeableWait wait;
    Delivery delivery{.waker = wait.Waker()};
    std::thread other([&] { delivery.Deliver(); });
    EXPECT_TRUE(wait.Run([&] { return delivery.arrived.load(); }));
    other.join();
}

TEST(WakeableWait, DeliversWindowEventsUntilWoken) {
    // The other thread delivers only once the wait has handled an input event, so the event
    // is handled during the wait, not after it.
    QLineEdit edit;
    QCoreApplication::postEvent(&edit,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    std::promise<void> inputHandled;
    QObject::connect(&edit, &QLineEdit::textChanged, [&] { inputHandled.set_value(); });

    WakeableWait wait;
    Delivery delivery{.waker = wait.Waker()};
    std::thread other([&] {
        inputHandled.get_future().wait();
        delivery.Deliver();
    });
    EXPECT_TRUE(wait.Run([&] { return delivery.arrived.load(); }));
    other.join();
    EXPECT_EQ(edit.text(), "a");
}

TEST(WakeableWait, WakeWithoutDeliveryKeepsWaiting) {
    WakeableWait wait;
    Delivery delivery{.waker = wait.Waker()};
    std::thread other([&] {
        delivery.waker();  // nothing delivered yet
        delivery.waker();
        delivery.Deliver();
    });
    EXPECT_TRUE(wait.Run([&] { return delivery.arrived.load(); }));
    other.join();
}

TEST(WakeableWait, NestedWaitsEachEndWithTheirOwnDelivery) {
    // The outer delivery arrives while the inner wait runs: neither is lost, the inner wait
    // ends first and the outer one then ends at once.
    WakeableWait outer;
    Delivery outerDelivery{.waker = outer.Waker()};
    std::vector<std::string> order;
    std::thread outerThread, innerThread;
    QTimer::singleShot(0, [&] {
        WakeableWait inner;
        Delivery innerDelivery{.waker = inner.Waker()};
        outerThread = std::thread([&] { outerDelivery.Deliver(); });
        QTimer::singleShot(0, [&] {
            outerThread.join();  // the outer delivery is surely in before the inner one
            innerThread = std::thread([&] { innerDelivery.Deliver(); });
        });
        EXPECT_TRUE(inner.Run([&] { return innerDelivery.arrived.load(); }));
        order.push_back("inner");
    });
    EXPECT_TRUE(outer.Run([&] { return outerDelivery.arrived.load(); }));
    order.push_back("outer");
    innerThread.join();
    EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer"}));
}

TEST(WakeableWait, WakerOutlivesTheWait) {
    std::function<void()> waker;
    {
        WakeableWait wait;
        waker = wait.Waker();
        EXPECT_TRUE(wait.Run([] { return true; }));
    }
    std::thread other(waker);  // the wait is gone: nothing to wake, nothing touched
    other.join();
    QCoreApplication::processEvents();
}

TEST(WakeableWait, EndsUnfulfilledWhenTheThreadsEventLoopsAreToldToExit) {
    QThread thread;
    std::promise<void> waiting;
    std::atomic<bool> returned = false;
    bool result = true;
    QObject::connect(
        &thread, &QThread::started, &thread,
        [&] {
            WakeableWait wait;
            waiting.set_value();
            result = wait.Run([] { return false; });
            returned = true;
        },
        Qt::DirectConnection);
    thread.start();
    waiting.get_future().wait();
    thread.quit();
    thread.wait();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(result);
}

}  // namespace
}  // namespace tavelo
