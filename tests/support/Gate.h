// A gate that holds threads back until it is opened, once and for all; for test servers whose
// reply must wait until a test has got as far as it wants.
#pragma once

#include <condition_variable>
#include <mutex>

namespace tavelo::test {

class Gate {
public:
    void Open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }

    // Returns once the gate is open.
    void Wait() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

}  // namespace tavelo::test
