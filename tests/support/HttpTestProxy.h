// A local HTTP proxy for tests on 127.0.0.1: tunnels CONNECT requests and forwards plain
// requests given with a whole URL, and records the head of each request it receives (so a
// test can look at "Proxy-Authorization"). It reaches loopback addresses only; a request
// for any other host gets 403.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "LoopbackListener.h"
#include "RecordedRequest.h"

namespace tavelo::test {

class HttpTestProxy {
public:
    HttpTestProxy();
    ~HttpTestProxy();
    HttpTestProxy(const HttpTestProxy&) = delete;
    HttpTestProxy& operator=(const HttpTestProxy&) = delete;

    // "127.0.0.1:PORT".
    std::string HostAndPort() const;
    int Port() const { return listener_.Port(); }
    // The requests received so far (CONNECT requests and forwarded ones), in order.
    std::vector<RecordedRequest> Requests() const;

private:
    void Serve(LoopbackConnection& client);

    mutable std::mutex mutex_;
    std::vector<RecordedRequest> requests_;
    LoopbackListener listener_;  // last: it starts serving as soon as it exists
};

}  // namespace tavelo::test
