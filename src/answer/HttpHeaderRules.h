// The rules by which HttpRequest turns its arguments into request headers and a proxy, and
// picks cookies out of the response headers. All texts are code page 936; every search and
// split matches only where a character begins.
#pragma once

#include <optional>
#include <vector>

#include "text/Text.h"

namespace tavelo {

struct HeaderField {
    Text name;
    Text value;

    bool operator==(const HeaderField&) const = default;
};

// The request headers, in the order they go out: the default set when `headers` is empty,
// otherwise the caller's lines followed by the defaults they lack (none when they mention
// "bdtb for Android"). "Cookie" carries `cookie` when it is not empty. Fields that could not
// go out as one header line (an empty name, a CR or LF inside) are left out.
std::vector<HeaderField> RequestHeaderFields(std::string_view headers, std::string_view cookie);

struct ProxyRoute {
    Text address;                       // what the proxy setting receives
    std::optional<Text> authorization;  // "Basic ..." for the proxy, when credentials came
};

// "host:port:user:password" becomes "host:port" with Basic credentials; anything else goes
// to the proxy setting whole, without credentials.
ProxyRoute ProxyRouteFor(std::string_view proxy);

// The cookie of every response header line holding "Set-Cookie": the text between
// "Set-Cookie:" and the first ";" after it, without surrounding spaces (ASCII and A1 A1),
// each followed by "; ".
Text CookiesFromResponseHeaders(std::string_view responseHeaders);

}  // namespace tavelo
