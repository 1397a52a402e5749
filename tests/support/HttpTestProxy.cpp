#include "HttpTestProxy.h"

#include <charconv>
#include <string>

namespace tavelo::test {
namespace {

constexpr std::string_view kHttpScheme = "http://";

// The port of a "host:port" authority when the host is a loopback name, or 0.
int LoopbackPort(std::string_view authority) {
    const auto colon = authority.rfind(':');
    if (colon == std::string_view::npos) {
        return 0;
    }
    const std::string_view host = authority.substr(0, colon);
    const std::string_view portText = authority.substr(colon + 1);
    int port = 0;
    const auto [end, error] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    const bool loopback = host == "127.0.0.1" || host == "localhost";
    return loopback && error == std::errc() && end == portText.data() + portText.size() ? port : 0;
}

// The authority the request is for: the CONNECT target, or the host of a whole URL.
std::string_view Authority(const RecordedRequest& request) {
    if (request.method == "CONNECT") {
        return request.target;
    }
    std::string_view target = request.target;
    if (!target.starts_with(kHttpScheme)) {
        return {};
    }
    target.remove_prefix(kHttpScheme.size());
    return target.substr(0, target.find('/'));
}

void Refuse(LoopbackConnection& client, int status, std::string_view reason) {
    client.WriteAll("HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
                    "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    client.Close();
}

}  // namespace

HttpTestProxy::HttpTestProxy() : listener_([this](LoopbackConnection& client) { Serve(client); }) {}

HttpTestProxy::~HttpTestProxy() {
    listener_.Stop();
}

std::string HttpTestProxy::HostAndPort() const {
    return "127.0.0.1:" + std::to_string(Port());
}

std::vector<RecordedRequest> HttpTestProxy::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void HttpTestProxy::Serve(LoopbackConnection& client) {
    std::string pending;
    const std::optional<RecordedRequest> request = ReadRequest(client, pending);
    if (!request) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(*request);
    }
    const int port = LoopbackPort(Authority(*request));
    if (port == 0) {
        Refuse(client, 403, "Forbidden");
        return;
    }
    std::optional<LoopbackConnection> upstream =
        LoopbackConnection::Connect(port, listener_.StopSignal());
    if (!upstream) {
        Refuse(client, 502, "Bad Gateway");
        return;
    }
    const bool forwarded = request->method == "CONNECT"
                               ? client.WriteAll("HTTP/1.1 200 Connection established\r\n\r\n") &&
                                     upstream->WriteAll(pending)
                               : upstream->WriteAll(RequestBytes(*request) + pending);
    if (forwarded) {
        LoopbackConnection::Relay(client, *upstream);
    }
}

}  // namespace tavelo::test
