#include "app/PacedWait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <limits>

#include "platform/WaitDueTime.h"

namespace tavelo {

namespace {

using Clock = std::chrono::steady_clock;

// Longer waits are cut to this (about eleven years), so the deadline fits the clock's range.
constexpr auto kLongestWait = std::chrono::hours(100000);

// Whole milliseconds, rounded up so that a timer armed with them never fires early.
int TimerMilliseconds(Clock::duration remaining) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    return static_cast<int>(std::min<std::int64_t>(ms, std::numeric_limits<int>::max()));
}

}  // namespace

bool PacedWait(std::int32_t interval, std::int64_t unit) {
    const std::int64_t due = WaitDueTime(interval, unit);
    if (due >= 0) {
        return true;  // due now, or at a moment long past
    }
    if (!QCoreApplication::instance()) {
        return true;  // no event loop can run: end at once rather than block the windows
    }
    // 100-nanosecond units to microseconds; dividing first keeps the negation in range.
    const std::chrono::microseconds length(-(due / 10));
    const auto deadline = Clock::now() + std::min<Clock::duration>(length, kLongestWait);

    QEventLoop loop;  // sets up this thread's event dispatcher when it has none yet
    if (!QThread::currentThread()->eventDispatcher()) {
        return true;
    }
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        fired = true;
        loop.quit();
    });
    // One timer sets the length, however many events arrive. It is armed again only in the
    // rare case that it fired a little before the deadline, or for waits beyond its range.
    for (auto remaining = deadline - Clock::now(); remaining > Clock::duration::zero();
         remaining = deadline - Clock::now()) {
        fired = false;
        timer.start(TimerMilliseconds(remaining));
        if (!timer.isActive()) {
            break;  // the timer could not be set up
        }
        loop.exec();
        if (!fired) {
            break;  // the loop was told to exit from outside: the program is quitting
        }
    }
    return true;
}

}  // namespace tavelo
