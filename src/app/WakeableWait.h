// Lets the user-interface thread wait for something that another thread brings about, while
// its event loop keeps delivering window events. The other thread wakes the wait through a
// waker instead of being polled for, so the wait ends as soon as its condition holds.
#pragma once

#include <functional>
#include <memory>

namespace tavelo {

class WakeableWait {
public:
    WakeableWait();
    ~WakeableWait();
    WakeableWait(const WakeableWait&) = delete;
    WakeableWait& operator=(const WakeableWait&) = delete;

    // A callable for any thread: it has the condition checked again at once. It may be kept
    // and called any number of times, also after this wait has ended and been destroyed (it
    // then does nothing).
    std::function<void()> Waker() const;

    // Runs the event loop until `done` holds, checking it first and again after each wake.
    // True when it holds; false when the wait was ended from outside (the thread's event loops
    // were told to exit because the program is quitting) or could not be set up.
    bool Run(const std::function<bool()>& done);

private:
    class Target;
    std::shared_ptr<Target> target_;
};

}  // namespace tavelo
