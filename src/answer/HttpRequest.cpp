#include "answer/HttpRequest.h"

#include <cstdlib>

#include "answer/CurlEasy.h"
#include "answer/HttpHeaderRules.h"
#include "answer/TextCodecs.h"

namespace tavelo {
namespace {

constexpr std::int32_t kDefaultTimeoutMs = 5000;
// The whole exchange may take this many time-outs: one per phase (resolving, connecting,
// sending, receiving), so that a server trickling bytes cannot hold a call for longer.
constexpr long kPhases = 4;
constexpr std::size_t kMaxBodyBytes = 8 * 1024 * 1024;
constexpr long kMaxRedirects = 10;

// Upper case, changing only ASCII letters that begin a character (the second byte of a
// two-byte character may look like a letter).
void NormaliseMethod(Text& method) {
    if (method.empty()) {
        method = "GET";
    }
    for (std::size_t pos = 0; pos < method.size(); pos += CharLengthAt(method, pos)) {
        if (method[pos] >= 'a' && method[pos] <= 'z') {
            method[pos] = static_cast<char>(method[pos] - 'a' + 'A');
        }
    }
}

// A method that can go into a request line: one token of visible ASCII without separators.
bool IsToken(std::string_view method) {
    constexpr std::string_view kSeparators = "()<>@,;:\\\"/[]?={} \t";
    for (const char c : method) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || kSeparators.find(c) != std::string_view::npos) {
            return false;
        }
    }
    return !method.empty();
}

bool StartsWithCaseless(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != prefix[i]) {
            return false;
        }
    }
    return true;
}

void SetMethodAndBody(CurlEasy& curl, const Text& method, const Text& data) {
    if (method == "GET" && data.empty()) {
        curl.Set(CURLOPT_HTTPGET, 1L);
        return;
    }
    if (method == "HEAD") {
        curl.Set(CURLOPT_NOBODY, 1L);
        return;
    }
    if (method == "POST" || !data.empty()) {
        curl.Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(data.size()));
        curl.Set(CURLOPT_POSTFIELDS, data.c_str());
    }
    if (method != "POST") {
        curl.Set(CURLOPT_CUSTOMREQUEST, method.c_str());
    }
}

// Only http and https, at the start and for every redirect; from an https address a
// redirect may not fall back to plain http.
void RestrictProtocols(CurlEasy& curl, std::string_view url) {
    curl.Set(CURLOPT_PROTOCOLS_STR, "http,https");
    curl.Set(CURLOPT_REDIR_PROTOCOLS_STR,
             StartsWithCaseless(url, "https:") ? "https" : "http,https");
    curl.Set(CURLOPT_FOLLOWLOCATION, 1L);
    curl.Set(CURLOPT_MAXREDIRS, kMaxRedirects);
}

// The server's certificate is always checked: against the system's store, and also against
// the PEM file named in SSL_CERT_FILE when there is one. libcurl does not read that variable
// itself, and naming the file replaces its built-in bundle, so the system's store comes back
// in through the certificate directory.
void TrustCertificates(CurlEasy& curl) {
    curl.Set(CURLOPT_SSL_VERIFYPEER, 1L);
    curl.Set(CURLOPT_SSL_VERIFYHOST, 2L);
    const char* extraFile = std::getenv("SSL_CERT_FILE");
    if (extraFile == nullptr || *extraFile == '\0') {
        return;
    }
    const char* systemDirectory = curl.DefaultCertificateDirectory();
    curl.Set(CURLOPT_CAINFO, extraFile);
    if (systemDirectory != nullptr) {
        curl.Set(CURLOPT_CAPATH, systemDirectory);
    }
}

void SetProxy(CurlEasy& curl, const Text& proxy) {
    if (proxy.empty()) {
        curl.Set(CURLOPT_PROXY, "");  // not even one from the environment
        return;
    }
    const ProxyRoute route = ProxyRouteFor(proxy);
    curl.Set(CURLOPT_PROXY, route.address.c_str());
    if (route.authorization) {
        // Sent to the proxy only, never through a tunnel to the server.
        curl.SetProxyHeaders({{"Proxy-Authorization", *route.authorization}});
    }
}

void SetTimeouts(CurlEasy& curl, std::int32_t timeoutMs) {
    const long phaseMs = timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs;
    curl.Set(CURLOPT_CONNECTTIMEOUT_MS, phaseMs);
    // Sending and receiving: fail when no byte moves for that long (libcurl counts this in
    // whole seconds).
    curl.Set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl.Set(CURLOPT_LOW_SPEED_TIME, (phaseMs + 999) / 1000);
    curl.Set(CURLOPT_TIMEOUT_MS, phaseMs * kPhases);
}

}  // namespace

void PrepareHttp() {
    CurlEasy::GlobalInit();
}

ByteArray HttpRequest(std::string_view url, HttpRequestArgs& args) {
    CurlEasy curl;
    if (!curl) {
        return {};
    }
    NormaliseMethod(args.method);

    const Text urlText(url);
    curl.Set(CURLOPT_URL, urlText.c_str());
    curl.Set(CURLOPT_NOSIGNAL, 1L);
    curl.Set(CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    RestrictProtocols(curl, url);
    TrustCertificates(curl);
    SetMethodAndBody(curl, args.method, args.data);
    SetProxy(curl, args.proxy);
    curl.SetRequestHeaders(RequestHeaderFields(args.headers, args.cookie));
    SetTimeouts(curl, args.timeoutMs);
    curl.Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));

    // A method that cannot go into a request line fails like any other exchange.
    CurlEasy::Response response =
        IsToken(args.method) ? curl.Perform(kMaxBodyBytes) : CurlEasy::Response{};
    args.responseHeaders = CutAtZero(response.headers);
    if (args.responseCookies && *args.responseCookies != "off") {
        args.responseCookies = CookiesFromResponseHeaders(args.responseHeaders);
    }
    return std::move(response.body);
}

ByteArray HttpRequest(std::string_view url, HttpRequestArgs&& args) {
    return HttpRequest(url, args);
}

Text HttpRequestText(std::string_view url, HttpRequestArgs& args) {
    return Utf8ToGbk(HttpRequest(url, args));
}

Text HttpRequestText(std::string_view url, HttpRequestArgs&& args) {
    return HttpRequestText(url, args);
}

}  // namespace tavelo
