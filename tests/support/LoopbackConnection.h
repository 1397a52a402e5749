// One accepted or opened TCP connection of a local test server, plain or TLS.
//
// Every wait also watches the owning server's stop signal, so a connection never keeps its
// server from stopping: once the signal is raised, reads, writes and pauses return false.
// TLS runs over memory buffers that this class moves to and from the socket itself, so a
// peer that goes away never raises SIGPIPE.
#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tavelo::test {

class LoopbackConnection {
public:
    // Takes ownership of `socket`. `stopSignal` is a descriptor that becomes readable when
    // the server stops.
    LoopbackConnection(int socket, int stopSignal);
    ~LoopbackConnection();
    LoopbackConnection(LoopbackConnection&& other) noexcept;
    LoopbackConnection& operator=(LoopbackConnection&&) = delete;
    LoopbackConnection(const LoopbackConnection&) = delete;
    LoopbackConnection& operator=(const LoopbackConnection&) = delete;

    // A new connection to 127.0.0.1:port, or nothing when it cannot be made.
    static std::optional<LoopbackConnection> Connect(int port, int stopSignal);

    // Runs the server side of a TLS handshake; false when it fails.
    bool AcceptTls(SSL_CTX* context);

    // Appends what arrives next to `into`; false when the peer has closed, on an error, or
    // when the server stops.
    bool ReadSome(std::string& into);
    // Sends all of `bytes`; false when that is not possible.
    bool WriteAll(std::string_view bytes);
    // Waits for `duration`; false when the server stops meanwhile.
    bool Pause(std::chrono::milliseconds duration);
    // Waits until the peer closes the connection or the server stops.
    void HoldUntilClosed();
    // Ends the connection in an orderly way (TLS close_notify, then end of stream).
    void Close();

    // Copies bytes both ways between the two connections until either side closes.
    static void Relay(LoopbackConnection& a, LoopbackConnection& b);

private:
    enum class Ready { kYes, kTimeout, kStopped };
    Ready Wait(short events, int timeoutMs = -1);
    bool SendRaw(std::string_view bytes);
    // Appends what the socket holds, waiting for something; false at the end of the stream.
    bool ReceiveRaw(std::string& into);
    bool FlushTls();
    bool FeedTls();

    int socket_ = -1;
    int stopSignal_ = -1;
    SSL* tls_ = nullptr;
    BIO* tlsIn_ = nullptr;   // bytes from the peer, read by the TLS engine (owned by tls_)
    BIO* tlsOut_ = nullptr;  // bytes the TLS engine wants sent (owned by tls_)
};

}  // namespace tavelo::test
