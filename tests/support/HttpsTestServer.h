// A local HTTPS (or plain HTTP) server for tests: 127.0.0.1 at a port of its own, replies
// scripted by the test, every request recorded.
//
//     HttpsTestServer server;
//     server.SetReply({.status = 404, .body = "gone"});
//     HttpRequest(server.Url("/path"));
//     EXPECT_EQ(server.Requests().at(0).requestLine, "GET /path HTTP/1.1");
//
// The server's certificate is issued by a test authority that TrustTestAuthority() makes
// trusted through SSL_CERT_FILE; the constructor calls it, so construct the first server
// before starting threads that read the environment. Each connection is served on its own
// thread and gets one reply, sent with "Connection: close". The destructor stops everything,
// held and trickling connections included.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "LoopbackListener.h"
#include "RecordedRequest.h"

namespace tavelo::test {

// What the server does with one request.
struct TestReply {
    enum class Framing {
        kContentLength,  // "Content-Length" with the whole body's size
        kChunked,        // "Transfer-Encoding: chunked"
        kUntilClose,     // no length: the body ends when the connection closes
    };

    int status = 200;
    // Sent in this order after the status line; the framing header and "Connection: close"
    // are added after them.
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // The body is sent this many times over (a large body without a large string).
    std::size_t bodyRepeat = 1;
    Framing framing = Framing::kContentLength;
    // Read the request, then send nothing and hold the connection open until the client
    // gives up or the server stops.
    bool neverAnswer = false;
    // Send only this many bytes of the body, then close the connection (the head still
    // announces the whole body).
    std::optional<std::size_t> closeAfterBodyBytes;
    // Send the body one byte at a time with this pause before each byte.
    std::chrono::milliseconds trickleDelay{0};

    // A redirect with "Location: location".
    static TestReply Redirect(std::string location, int status = 302);
};

class HttpsTestServer {
public:
    enum class Mode {
        kHttps,           // TLS with a certificate the test authority issued
        kPlainHttp,       // no TLS
        kUntrustedHttps,  // TLS with a self-signed certificate nobody trusts
    };
    using Handler = std::function<TestReply(const RecordedRequest&)>;

    explicit HttpsTestServer(Mode mode = Mode::kHttps);
    ~HttpsTestServer();
    HttpsTestServer(const HttpsTestServer&) = delete;
    HttpsTestServer& operator=(const HttpsTestServer&) = delete;

    // Decides the reply to each request; runs on the connection's thread. By default every
    // request gets an empty 200 reply.
    void SetHandler(Handler handler);
    // Every request gets this reply.
    void SetReply(TestReply reply);

    // "https://127.0.0.1:PORT" (or "http://..."), followed by `path`.
    std::string Url(std::string_view path = "") const;
    // "127.0.0.1:PORT".
    std::string HostAndPort() const;
    int Port() const { return listener_.Port(); }

    // The requests received so far, in the order they were read.
    std::vector<RecordedRequest> Requests() const;
    // Waits until at least `count` requests have arrived; false when the time is up.
    bool WaitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // How many connections have been accepted (handshakes that failed included).
    std::size_t ConnectionCount() const;

private:
    void Serve(LoopbackConnection& connection);
    void SendReply(LoopbackConnection& connection, const TestReply& reply);

    using TlsContext = std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)>;

    Mode mode_;
    TlsContext tls_;  // null for plain HTTP
    mutable std::mutex mutex_;
    mutable std::condition_variable requestArrived_;
    Handler handler_;
    std::vector<RecordedRequest> requests_;
    std::size_t connections_ = 0;
    LoopbackListener listener_;  // last: it starts serving as soon as it exists
};

}  // namespace tavelo::test
