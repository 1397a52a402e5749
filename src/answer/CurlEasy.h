// An owned libcurl easy handle for one transfer, with the header lists it points to and
// what the transfer brings back.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "answer/HttpHeaderRules.h"

namespace tavelo {

class CurlEasy {
public:
    struct Response {
        bool ok = false;
        std::string headers;  // header lines of the final response, CR LF after each
        std::string body;
    };

    // Sets up libcurl for the process once (thread-safe), then makes a handle.
    CurlEasy();
    ~CurlEasy();
    CurlEasy(CurlEasy&& other) noexcept;
    CurlEasy& operator=(CurlEasy&& other) noexcept;
    CurlEasy(const CurlEasy&) = delete;
    CurlEasy& operator=(const CurlEasy&) = delete;

    // False when libcurl could not make a handle.
    explicit operator bool() const { return handle_ != nullptr; }

    // curl_easy_setopt; false when libcurl refuses. Whole numbers go as the `long` that
    // libcurl reads from its variable arguments (curl_off_t stays as it is).
    template <typename Value>
    bool Set(CURLoption option, Value value) {
        if constexpr (std::is_integral_v<Value> && !std::is_same_v<Value, curl_off_t>) {
            return curl_easy_setopt(handle_, option, static_cast<long>(value)) == CURLE_OK;
        } else {
            return curl_easy_setopt(handle_, option, value) == CURLE_OK;
        }
    }

    // Exactly these request headers, in this order: libcurl adds none of its own beyond
    // "Host" and the body's framing.
    void SetRequestHeaders(const std::vector<HeaderField>& fields);
    // Headers for the proxy alone (a CONNECT request, or a plain request through it).
    void SetProxyHeaders(const std::vector<HeaderField>& fields);

    // libcurl's own certificate directory, or null when it was built without one.
    const char* DefaultCertificateDirectory();

    // Runs the transfer. A body that would grow beyond `maxBodyBytes` aborts it.
    Response Perform(std::size_t maxBodyBytes);

    // Sets up libcurl for the whole process, once; safe from any thread.
    static void GlobalInit();

private:
    struct ListFree {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };
    using List = std::unique_ptr<curl_slist, ListFree>;

    static List MakeList(const std::vector<HeaderField>& fields, bool suppressOwnHeaders);
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);

    CURL* handle_ = nullptr;
    List requestHeaders_;
    List proxyHeaders_;
    Response response_;
    std::size_t maxBodyBytes_ = 0;
};

}  // namespace tavelo
