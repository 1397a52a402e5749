// A compositing manager for window tests that need translucent windows shown: picom, started
// when none runs and stopped again at the end.
#pragma once

#include <QProcess>
#include <memory>

namespace tavelo::test {

class CompositorProcess {
public:
    // Starts picom unless a compositing manager already runs, and waits until the program
    // sees one. Running() says whether that worked.
    CompositorProcess();
    ~CompositorProcess();
    CompositorProcess(const CompositorProcess&) = delete;
    CompositorProcess& operator=(const CompositorProcess&) = delete;

    bool Running() const;

    // Stops the picom started here and waits until the program sees no compositing manager;
    // false when the compositing manager was not started here or does not go away.
    bool Stop();

private:
    std::unique_ptr<QProcess> process_;
};

}  // namespace tavelo::test
