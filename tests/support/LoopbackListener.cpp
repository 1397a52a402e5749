#include "LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace tavelo::test {

LoopbackListener::LoopbackListener(Serve serve) : serve_(std::move(serve)) {
    stopSignal_ = eventfd(0, EFD_CLOEXEC);
    listenSocket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (stopSignal_ < 0 || listenSocket_ < 0 ||
        bind(listenSocket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenSocket_, SOMAXCONN) != 0 ||
        getsockname(listenSocket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listenSocket_ >= 0) {
            close(listenSocket_);
        }
        if (stopSignal_ >= 0) {
            close(stopSignal_);
        }
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackListener::~LoopbackListener() {
    Stop();
    close(listenSocket_);
    close(stopSignal_);
}

void LoopbackListener::Stop() {
    std::lock_guard lock(stopMutex_);
    if (stopped_) {
        return;
    }
    stopped_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(stopSignal_, &one, sizeof one);
    acceptThread_.join();
    for (Worker& worker : workers_) {
        worker.thread.join();
    }
    workers_.clear();
}

void LoopbackListener::JoinFinishedWorkers() {
    std::erase_if(workers_, [](Worker& worker) {
        if (!worker.done->load()) {
            return false;
        }
        worker.thread.join();
        return true;
    });
}

void LoopbackListener::AcceptLoop() {
    std::array<pollfd, 2> watched{{{listenSocket_, POLLIN, 0}, {stopSignal_, POLLIN, 0}}};
    for (;;) {
        const int count = poll(watched.data(), watched.size(), -1);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 || watched[1].revents != 0) {
            return;
        }
        const int socket = accept4(listenSocket_, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0) {
            continue;
        }
        JoinFinishedWorkers();
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers_.push_back(Worker{std::thread([this, socket, done] {
                                      LoopbackConnection connection(socket, stopSignal_);
                                      serve_(connection);
                                      done->store(true);
                                  }),
                                  done});
    }
}

}  // namespace tavelo::test
