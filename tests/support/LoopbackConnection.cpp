#include "LoopbackConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace tavelo::test {
namespace {

constexpr std::size_t kChunk = 16 * 1024;

bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}

}  // namespace

LoopbackConnection::LoopbackConnection(int socket, int stopSignal)
    : socket_(socket), stopSignal_(stopSignal) {
    fcntl(socket_, F_SETFL, fcntl(socket_, F_GETFL) | O_NONBLOCK);
    const int on = 1;
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

LoopbackConnection::~LoopbackConnection() {
    if (tls_ != nullptr) {
        SSL_free(tls_);
    }
    if (socket_ >= 0) {
        close(socket_);
    }
}

LoopbackConnection::LoopbackConnection(LoopbackConnection&& other) noexcept
    : socket_(std::exchange(other.socket_, -1)),
      stopSignal_(other.stopSignal_),
      tls_(std::exchange(other.tls_, nullptr)),
      tlsIn_(std::exchange(other.tlsIn_, nullptr)),
      tlsOut_(std::exchange(other.tlsOut_, nullptr)) {}

std::optional<LoopbackConnection> LoopbackConnection::Connect(int port, int stopSignal) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return std::nullopt;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(socket);
        return std::nullopt;
    }
    return LoopbackConnection(socket, stopSignal);
}

LoopbackConnection::Ready LoopbackConnection::Wait(short events, int timeoutMs) {
    std::array<pollfd, 2> watched{{{socket_, events, 0}, {stopSignal_, POLLIN, 0}}};
    for (;;) {
        const int count = poll(watched.data(), watched.size(), timeoutMs);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 || watched[1].revents != 0) {
            return Ready::kStopped;
        }
        return count == 0 ? Ready::kTimeout : Ready::kYes;
    }
}

bool LoopbackConnection::SendRaw(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && WouldBlock()) {
            if (Wait(POLLOUT) != Ready::kYes) {
                return false;
            }
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

bool LoopbackConnection::ReceiveRaw(std::string& into) {
    std::array<char, kChunk> buffer;
    for (;;) {
        const ssize_t received = recv(socket_, buffer.data(), buffer.size(), 0);
        if (received > 0) {
            into.append(buffer.data(), static_cast<std::size_t>(received));
            return true;
        }
        if (received < 0 && WouldBlock()) {
            if (Wait(POLLIN) != Ready::kYes) {
                return false;
            }
        } else if (received < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
}

bool LoopbackConnection::FlushTls() {
    std::array<char, kChunk> buffer;
    while (BIO_ctrl_pending(tlsOut_) > 0) {
        const int size = BIO_read(tlsOut_, buffer.data(), static_cast<int>(buffer.size()));
        if (size <= 0) {
            break;
        }
        if (!SendRaw({buffer.data(), static_cast<std::size_t>(size)})) {
            return false;
        }
    }
    return true;
}

bool LoopbackConnection::FeedTls() {
    std::string bytes;
    if (!ReceiveRaw(bytes)) {
        return false;
    }
    return BIO_write(tlsIn_, bytes.data(), static_cast<int>(bytes.size())) ==
           static_cast<int>(bytes.size());
}

bool LoopbackConnection::AcceptTls(SSL_CTX* context) {
    tls_ = SSL_new(context);
    if (tls_ == nullptr) {
        return false;
    }
    tlsIn_ = BIO_new(BIO_s_mem());
    tlsOut_ = BIO_new(BIO_s_mem());
    if (tlsIn_ == nullptr || tlsOut_ == nullptr) {
        BIO_free(tlsIn_);
        BIO_free(tlsOut_);
        SSL_free(std::exchange(tls_, nullptr));
        return false;
    }
    SSL_set_bio(tls_, tlsIn_, tlsOut_);
    SSL_set_accept_state(tls_);
    for (;;) {
        const int result = SSL_do_handshake(tls_);
        if (!FlushTls()) {
            return false;
        }
        if (result == 1) {
            return true;
        }
        if (SSL_get_error(tls_, result) != SSL_ERROR_WANT_READ || !FeedTls()) {
            return false;
        }
    }
}

bool LoopbackConnection::ReadSome(std::string& into) {
    if (tls_ == nullptr) {
        return ReceiveRaw(into);
    }
    std::array<char, kChunk> buffer;
    for (;;) {
        const int size = SSL_read(tls_, buffer.data(), static_cast<int>(buffer.size()));
        // The engine may have answered something (a key update, session tickets).
        if (!FlushTls()) {
            return false;
        }
        if (size > 0) {
            into.append(buffer.data(), static_cast<std::size_t>(size));
            return true;
        }
        if (SSL_get_error(tls_, size) != SSL_ERROR_WANT_READ || !FeedTls()) {
            return false;
        }
    }
}

bool LoopbackConnection::WriteAll(std::string_view bytes) {
    if (tls_ == nullptr) {
        return SendRaw(bytes);
    }
    while (!bytes.empty()) {
        const std::size_t part = std::min(bytes.size(), kChunk);
        const int written = SSL_write(tls_, bytes.data(), static_cast<int>(part));
        if (written <= 0 || !FlushTls()) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool LoopbackConnection::Pause(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    pollfd stop{stopSignal_, POLLIN, 0};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return true;
        }
        const int count = poll(&stop, 1, static_cast<int>(left.count()));
        if (count > 0 || (count < 0 && errno != EINTR)) {
            return false;
        }
    }
}

void LoopbackConnection::HoldUntilClosed() {
    std::string discarded;
    while (ReceiveRaw(discarded)) {
        discarded.clear();
    }
}

void LoopbackConnection::Close() {
    if (tls_ != nullptr) {
        SSL_shutdown(tls_);
        FlushTls();
    }
    shutdown(socket_, SHUT_WR);
    // Closing with unread input would reset the connection and could destroy the reply
    // before the peer has read it: wait for the peer's own close first.
    std::string discarded;
    while (Wait(POLLIN, 10'000) == Ready::kYes && ReceiveRaw(discarded)) {
        discarded.clear();
    }
}

void LoopbackConnection::Relay(LoopbackConnection& a, LoopbackConnection& b) {
    std::array<pollfd, 3> watched{
        {{a.socket_, POLLIN, 0}, {b.socket_, POLLIN, 0}, {a.stopSignal_, POLLIN, 0}}};
    std::string bytes;
    for (;;) {
        const int count = poll(watched.data(), watched.size(), -1);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 || watched[2].revents != 0) {
            return;
        }
        for (int side = 0; side < 2; ++side) {
            if (watched[side].revents == 0) {
                continue;
            }
            LoopbackConnection& from = side == 0 ? a : b;
            LoopbackConnection& to = side == 0 ? b : a;
            bytes.clear();
            if (!from.ReceiveRaw(bytes) || !to.SendRaw(bytes)) {
                return;
            }
        }
    }
}

}  // namespace tavelo::test
