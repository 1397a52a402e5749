// One HTTP exchange: the request goes out, the response body comes back as bytes (or, from
// HttpRequestText, as a code page 936 text decoded from UTF-8).
//
// Failure of any kind gives an empty result; nothing is thrown or reported. The body comes
// back whatever the status, error pages included. The server's certificate must be trusted
// by the system's store or by the PEM file named in SSL_CERT_FILE; only http and https are
// spoken, also when following redirects (at most 10); the whole exchange is limited to four
// times the time-out; a body larger than 8 MiB is a failure. Any thread may call; calls
// share nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "text/Text.h"

namespace tavelo {

struct HttpRequestArgs {
    // In and out: empty means "GET"; the call leaves it in upper case.
    Text method;
    // "host:port", or "host:port:user:password" for a proxy that wants Basic credentials.
    // Empty: no proxy (also none from the environment).
    Text proxy;
    // The caller's header lines ("Name: value", CR LF between them); empty: the default set.
    Text headers;
    // The request body.
    Text data;
    // The value of a "Cookie" request header; empty: none.
    Text cookie;
    // Limit of each phase (connecting, waiting for bytes) in milliseconds; 0 or negative
    // means 5000.
    std::int32_t timeoutMs = 0;
    // Out: the header lines of the final response, CR LF after each; empty after a failure.
    Text responseHeaders;
    // In and out: when given and not "off", receives the value of every "Set-Cookie" line of
    // the response, each followed by "; ".
    std::optional<Text> responseCookies;
};

// Sets up libcurl for the whole process. HttpRequest calls it itself; calling it early, on
// the main thread before any worker starts, keeps the set-up off the workers.
void PrepareHttp();

ByteArray HttpRequest(std::string_view url, HttpRequestArgs& args);
ByteArray HttpRequest(std::string_view url, HttpRequestArgs&& args = {});

// HttpRequest with the body decoded from UTF-8 into code page 936.
Text HttpRequestText(std::string_view url, HttpRequestArgs& args);
Text HttpRequestText(std::string_view url, HttpRequestArgs&& args = {});

}  // namespace tavelo
