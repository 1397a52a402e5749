// Accepts TCP connections on 127.0.0.1 at a port the system chooses, and serves each on a
// thread of its own, so that a connection held open never blocks the others.
//
// Stop() (also run by the destructor) raises a signal that every wait of every connection
// watches, then joins all threads: nothing outlives the listener.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "LoopbackConnection.h"

namespace tavelo::test {

class LoopbackListener {
public:
    using Serve = std::function<void(LoopbackConnection&)>;

    // Starts listening at once; `serve` runs on a connection's thread. Throws when no
    // socket can be had.
    explicit LoopbackListener(Serve serve);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return port_; }
    // The descriptor that becomes readable when the listener stops.
    int StopSignal() const { return stopSignal_; }
    void Stop();

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void AcceptLoop();
    void JoinFinishedWorkers();

    Serve serve_;
    int listenSocket_ = -1;
    int stopSignal_ = -1;
    int port_ = 0;
    std::mutex stopMutex_;
    bool stopped_ = false;
    std::thread acceptThread_;
    std::vector<Worker> workers_;  // touched only by the accept thread until it is joined
};

}  // namespace tavelo::test
