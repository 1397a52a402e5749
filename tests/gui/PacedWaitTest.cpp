#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "app/PacedWait.h"

namespace tavelo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct LengthCase {
    const char* name;
    std::int32_t interval;
    std::int64_t unit;
    Clock::duration atLeast;
};

void PrintTo(const LengthCase& row, std::ostream* os) {
    *os << row.name;
}

class PacedWaitLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(PacedWaitLength, LastsAtLeastTheInterval) {
    const auto& c = GetParam();
    const auto start = Clock::now();
    EXPECT_TRUE(PacedWait(c.interval, c.unit));
    EXPECT_GE(Clock::now() - start, c.atLeast);
}

INSTANTIATE_TEST_SUITE_P(Cases, PacedWaitLength,
                         ::testing::Values(LengthCase{"milliseconds", 500, 0, 500ms},
                                           LengthCase{"seconds", 2, 1, 2s},
                                           LengthCase{"units_of_seven_ms", 2, 7, 14ms}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PacedWait, DeliversInputTimersAndQueuedCallsWhileWaiting) {
    QLineEdit edit;
    QCoreApplication::postEvent(&edit,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    bool timerRan = false;
    QTimer::singleShot(10, [&] { timerRan = true; });
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        &edit, [&] { queuedRan = true; }, Qt::QueuedConnection);

    PacedWait(200);

    EXPECT_EQ(edit.text(), "a");
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(queuedRan);
}

TEST(PacedWait, NothingIsProcessedWhenThereIsNothingToWaitFor) {
    QObject context;
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        &context, [&] { queuedRan = true; }, Qt::QueuedConnection);
    for (const auto& [interval, unit] : {std::pair{0, 0}, {-1, 0}, {-500, 1}, {5, -2}}) {
        EXPECT_TRUE(PacedWait(interval, unit));
    }
    EXPECT_FALSE(queuedRan);
    QCoreApplication::sendPostedEvents(&context);
    EXPECT_TRUE(queuedRan);
}

TEST(PacedWait, NestedWaitEndsBeforeTheOuterOne) {
    // A wait started by an event handler during another wait runs its whole length first,
    // as a second message sent during the first one's pause does.
    std::vector<std::string> order;
    QTimer::singleShot(0, [&] {
        const auto start = Clock::now();
        PacedWait(300);
        EXPECT_GE(Clock::now() - start, 300ms);
        order.push_back("inner");
    });
    const auto start = Clock::now();
    PacedWait(100);
    order.push_back("outer");
    EXPECT_GE(Clock::now() - start, 300ms);
    EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer"}));
}

TEST(PacedWait, EndsWhenTheThreadsEventLoopsAreToldToExit) {
    // Told to exit, event loops cannot run again; a wait that kept re-arming would spin for
    // an hour instead of returning.
    QThread thread;
    std::promise<void> waiting;
    std::atomic<bool> returned = false;
    QObject::connect(
        &thread, &QThread::started, &thread,
        [&] {
            waiting.set_value();
            PacedWait(1, 3);
            returned = true;
        },
        Qt::DirectConnection);
    thread.start();
    waiting.get_future().wait();
    thread.quit();
    thread.wait();
    EXPECT_TRUE(returned);
}

}  // namespace
}  // namespace tavelo
