#include "app/WakeableWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <mutex>

namespace tavelo {

// What a waker reaches: the loop of the running wait, or nothing once the wait has ended.
// The mutex keeps the loop alive for the duration of a post from another thread.
class WakeableWait::Target {
public:
    void Attach(QEventLoop* loop, bool* woken) {
        std::lock_guard lock(mutex_);
        loop_ = loop;
        woken_ = woken;
    }

    void Detach() { Attach(nullptr, nullptr); }

    void Wake() {
        std::lock_guard lock(mutex_);
        if (!loop_) {
            return;
        }
        // Runs on the loop's thread; dropped by Qt if the loop is gone by then.
        QMetaObject::invokeMethod(
            loop_,
            [loop = loop_, woken = woken_] {
                *woken = true;
                loop->quit();
            },
            Qt::QueuedConnection);
    }

private:
    std::mutex mutex_;
    QEventLoop* loop_ = nullptr;
    bool* woken_ = nullptr;
};

WakeableWait::WakeableWait() : target_(std::make_shared<Target>()) {}

WakeableWait::~WakeableWait() {
    target_->Detach();
}

std::function<void()> WakeableWait::Waker() const {
    return [target = target_] { target->Wake(); };
}

bool WakeableWait::Run(const std::function<bool()>& done) {
    if (done()) {
        return true;
    }
    if (!QCoreApplication::instance()) {
        return false;
    }
    QEventLoop loop;
    if (!QThread::currentThread()->eventDispatcher()) {
        return false;
    }
    bool woken = false;
    target_->Attach(&loop, &woken);
    bool held = false;
    while (!(held = done())) {
        woken = false;
        loop.exec();
        if (!woken && !(held = done())) {
            break;  // ended from outside
        }
    }
    target_->Detach();
    return held;
}

}  // namespace tavelo
