#include "HttpsTestServer.h"

#include <openssl/pem.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "TestCertificate.h"

namespace tavelo::test {
namespace {

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 308:
            return "Permanent Redirect";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

void FreeContext(SSL_CTX* context) {
    SSL_CTX_free(context);
}

std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> NewServerContext(HttpsTestServer::Mode mode) {
    if (mode == HttpsTestServer::Mode::kPlainHttp) {
        return {nullptr, FreeContext};
    }
    const PemCredentials& credentials = mode == HttpsTestServer::Mode::kHttps
                                            ? TrustedServerCredentials()
                                            : UntrustedServerCredentials();
    std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> context(SSL_CTX_new(TLS_server_method()),
                                                         FreeContext);
    std::unique_ptr<BIO, decltype(&BIO_free)> certificateBio(
        BIO_new_mem_buf(credentials.certificate.data(),
                        static_cast<int>(credentials.certificate.size())),
        BIO_free);
    std::unique_ptr<BIO, decltype(&BIO_free)> keyBio(
        BIO_new_mem_buf(credentials.privateKey.data(),
                        static_cast<int>(credentials.privateKey.size())),
        BIO_free);
    std::unique_ptr<X509, decltype(&X509_free)> certificate(
        PEM_read_bio_X509(certificateBio.get(), nullptr, nullptr, nullptr), X509_free);
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr), EVP_PKEY_free);
    if (context == nullptr || certificate == nullptr || key == nullptr ||
        SSL_CTX_use_certificate(context.get(), certificate.get()) != 1 ||
        SSL_CTX_use_PrivateKey(context.get(), key.get()) != 1) {
        throw std::runtime_error("test server: TLS set-up failed");
    }
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    return context;
}

// Sends body bytes as the reply's framing and pacing ask.
class BodyWriter {
public:
    BodyWriter(LoopbackConnection& connection, const TestReply& reply)
        : connection_(connection), reply_(reply) {}

    bool Write(std::string_view bytes) {
        if (reply_.trickleDelay.count() <= 0) {
            return WriteFramed(bytes);
        }
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (!connection_.Pause(reply_.trickleDelay) || !WriteFramed(bytes.substr(i, 1))) {
                return false;
            }
        }
        return true;
    }

    bool Finish() {
        return reply_.framing != TestReply::Framing::kChunked || connection_.WriteAll("0\r\n\r\n");
    }

private:
    bool WriteFramed(std::string_view bytes) {
        if (reply_.framing != TestReply::Framing::kChunked) {
            return connection_.WriteAll(bytes);
        }
        char size[32];
        std::snprintf(size, sizeof size, "%zX\r\n", bytes.size());
        return connection_.WriteAll(size) && connection_.WriteAll(bytes) &&
               connection_.WriteAll("\r\n");
    }

    LoopbackConnection& connection_;
    const TestReply& reply_;
};

}  // namespace

TestReply TestReply::Redirect(std::string location, int status) {
    return TestReply{.status = status, .headers = {{"Location", std::move(location)}}};
}

HttpsTestServer::HttpsTestServer(Mode mode)
    // The environment is set before the listener's threads exist.
    : mode_((TrustTestAuthority(), mode)),
      tls_(NewServerContext(mode)),
      listener_([this](LoopbackConnection& connection) { Serve(connection); }) {}

HttpsTestServer::~HttpsTestServer() {
    listener_.Stop();
}

void HttpsTestServer::SetHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void HttpsTestServer::SetReply(TestReply reply) {
    SetHandler([reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

std::string HttpsTestServer::Url(std::string_view path) const {
    return (mode_ == Mode::kPlainHttp ? "http://" : "https://") + HostAndPort() + std::string(path);
}

std::string HttpsTestServer::HostAndPort() const {
    return "127.0.0.1:" + std::to_string(Port());
}

std::vector<RecordedRequest> HttpsTestServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool HttpsTestServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return requestArrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

std::size_t HttpsTestServer::ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

void HttpsTestServer::Serve(LoopbackConnection& connection) {
    {
        std::lock_guard lock(mutex_);
        ++connections_;
    }
    if (tls_ != nullptr && !connection.AcceptTls(tls_.get())) {
        return;
    }
    std::string pending;
    const std::optional<RecordedRequest> request = ReadRequest(connection, pending);
    if (!request) {
        return;
    }
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(*request);
        handler = handler_;
    }
    requestArrived_.notify_all();
    const TestReply reply = handler ? handler(*request) : TestReply{};
    if (reply.neverAnswer) {
        connection.HoldUntilClosed();
        return;
    }
    SendReply(connection, reply);
}

void HttpsTestServer::SendReply(LoopbackConnection& connection, const TestReply& reply) {
    std::string head =
        "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) + "\r\n";
    for (const auto& [name, value] : reply.headers) {
        head += name + ": " + value + "\r\n";
    }
    const std::size_t total = reply.body.size() * reply.bodyRepeat;
    if (reply.framing == TestReply::Framing::kContentLength) {
        head += "Content-Length: " + std::to_string(total) + "\r\n";
    } else if (reply.framing == TestReply::Framing::kChunked) {
        head += "Transfer-Encoding: chunked\r\n";
    }
    head += "Connection: close\r\n\r\n";
    if (!connection.WriteAll(head)) {
        return;
    }

    BodyWriter writer(connection, reply);
    std::size_t left = reply.closeAfterBodyBytes.value_or(total);
    for (std::size_t i = 0; i < reply.bodyRepeat && left > 0; ++i) {
        const std::string_view piece =
            std::string_view(reply.body).substr(0, std::min(left, reply.body.size()));
        if (!writer.Write(piece)) {
            return;
        }
        left -= piece.size();
    }
    if (reply.closeAfterBodyBytes) {
        return;  // dropped without an orderly close
    }
    if (writer.Finish()) {
        connection.Close();
    }
}

}  // namespace tavelo::test
