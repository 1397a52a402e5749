#include "answer/HttpRequest.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "answer/HttpHeaderRules.h"
#include "support/HttpTestProxy.h"
#include "support/HttpsTestServer.h"

namespace tavelo {
namespace {

using namespace std::chrono_literals;
using test::HttpsTestServer;
using test::HttpTestProxy;
using test::RecordedRequest;
using test::TestReply;

// Calls that must end are waited for this long: far beyond any limit they run under.
constexpr auto kGenerousWait = 60s;

const std::string kUserAgentLine =
    "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/69.0.3497.100 Safari/537.36";
const std::string kContentTypeLine = "Content-Type: application/x-www-form-urlencoded";
const std::vector<std::string> kDefaultLines = {
    "Accept: */*",    "Accept-language: zh-cn", kUserAgentLine,
    kContentTypeLine, "Connection: Keep-Alive", "Cache-Control: no-cache"};

// Rows print as their names in test listings and failures.
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// The outcome of a call run on a thread of its own.
struct TimedCall {
    bool ended = false;
    ByteArray body;
    std::chrono::milliseconds elapsed{0};
};

TimedCall CallInBackground(std::string url, HttpRequestArgs args) {
    const auto start = std::chrono::steady_clock::now();
    auto call =
        std::async(std::launch::async, [url, args]() mutable { return HttpRequest(url, args); });
    TimedCall result;
    result.ended = call.wait_for(kGenerousWait) == std::future_status::ready;
    result.body = call.get();
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return result;
}

class HttpRequestTest : public ::testing::Test {
protected:
    HttpsTestServer server_;
};

TEST_F(HttpRequestTest, OmittedArgumentsSendAGetWithTheDefaultHeadersInOrder) {
    server_.SetReply({.body = "hello"});
    HttpRequestArgs args;

    EXPECT_EQ(HttpRequest(server_.Url("/quark/1/ai?format=json&q=%61%20%62&"), args), "hello");

    EXPECT_EQ(args.method, "GET");
    const std::vector<RecordedRequest> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET /quark/1/ai?format=json&q=%61%20%62& HTTP/1.1");
    std::vector<std::string> expected = {"Host: " + server_.HostAndPort()};
    expected.insert(expected.end(), kDefaultLines.begin(), kDefaultLines.end());
    EXPECT_EQ(requests[0].headerLines, expected);
    EXPECT_EQ(requests[0].body, "");
}

struct MethodCase {
    const char* name;
    Text method;
    Text data;
    Text methodAfter;    // the caller's variable after the call
    std::string sentAs;  // the method the server saw; empty when nothing was sent
};

void PrintTo(const MethodCase& row, std::ostream* os) {
    *os << row.name;
}

class HttpMethodTest : public HttpRequestTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(HttpMethodTest, NormalisesTheMethodAndSendsTheData) {
    const MethodCase& row = GetParam();
    server_.SetReply({.body = "ok"});
    HttpRequestArgs args{.method = row.method, .data = row.data};

    const ByteArray body = HttpRequest(server_.Url("/m"), args);

    EXPECT_EQ(args.method, row.methodAfter);
    const std::vector<RecordedRequest> requests = server_.Requests();
    if (row.sentAs.empty()) {
        EXPECT_EQ(body, "");
        EXPECT_TRUE(requests.empty());
        return;
    }
    EXPECT_EQ(body, "ok");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, row.sentAs);
    EXPECT_EQ(requests[0].body, row.data);
    // The body goes with the default content type only, nothing of the client's own.
    std::vector<std::string> expected = kDefaultLines;
    EXPECT_EQ(requests[0].HeaderLinesWithout({"Host", "Content-Length"}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpMethodTest,
    ::testing::Values(MethodCase{"empty_is_get", "", "", "GET", "GET"},
                      MethodCase{"post_in_lower_case", "post", "a=1&b=2", "POST", "POST"},
                      MethodCase{"post_without_data", "Post", "", "POST", "POST"},
                      MethodCase{"other_method_with_data", "put", "x", "PUT", "PUT"},
                      MethodCase{"other_method_without_data", "Delete", "", "DELETE", "DELETE"},
                      // The second byte of a two-byte character is not a letter, however it looks.
                      MethodCase{"two_byte_character_kept", "p\x81\x61", "", "P\x81\x61", ""},
                      MethodCase{"not_a_token_is_not_sent", "GET / HTTP/1.1\r\nX:", "",
                                 "GET / HTTP/1.1\r\nX:", ""}),
    RowName<MethodCase>);

struct HeaderCase {
    const char* name;
    Text headers;
    Text cookie;
    std::vector<std::string> expected;  // the lines the server received, "Host" left out
};

void PrintTo(const HeaderCase& row, std::ostream* os) {
    *os << row.name;
}

class RequestHeaderTest : public HttpRequestTest,
                          public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(RequestHeaderTest, SendsTheseHeaderLinesInOrder) {
    const HeaderCase& row = GetParam();
    HttpRequestArgs args{.headers = row.headers, .cookie = row.cookie};

    HttpRequest(server_.Url("/h"), args);

    const std::vector<RecordedRequest> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].HeaderLinesWithout({"Host"}), row.expected);
}

std::vector<std::string> Lines(std::initializer_list<std::string> first,
                               std::initializer_list<std::string> then = {}) {
    std::vector<std::string> lines(first);
    lines.insert(lines.end(), then);
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequestHeaderTest,
    ::testing::Values(
        HeaderCase{"defaults_with_cookie", "", "k=v",
                   Lines({"Accept: */*", "Accept-language: zh-cn", kUserAgentLine, kContentTypeLine,
                          "Connection: Keep-Alive", "Cache-Control: no-cache", "Cookie: k=v"})},
        HeaderCase{"caller_lines_then_missing_defaults", "Referer: a\r\nAccept: text/html", "",
                   Lines({"Referer: a", "Accept: text/html", "Accept-language: zh-cn",
                          kContentTypeLine, kUserAgentLine})},
        HeaderCase{"value_follows_the_last_name", "X-A: 1 X-A: 2\r\nX-B: a: b", "",
                   Lines({"X-A: 2", "X-B: a: b"}, {"Accept: */*", "Accept-language: zh-cn",
                                                   kContentTypeLine, kUserAgentLine})},
        HeaderCase{"mentions_are_case_sensitive", "accept: text/html\r\nAccept-language: en", "",
                   Lines({"accept: text/html", "Accept-language: en", "Accept: */*",
                          "Accept-language: zh-cn", kContentTypeLine, kUserAgentLine})},
        HeaderCase{"cookie_after_the_added_defaults", "X: 1", "k=v",
                   Lines({"X: 1", "Accept: */*", "Accept-language: zh-cn", kContentTypeLine,
                          kUserAgentLine, "Cookie: k=v"})},
        HeaderCase{"bdtb_gets_nothing_added", "User-Agent: bdtb for Android 1.0", "k=v",
                   Lines({"User-Agent: bdtb for Android 1.0"})},
        HeaderCase{"lines_without_colon_skipped", "NoColon\r\nX: 1\r\n", "",
                   Lines({"X: 1", "Accept: */*", "Accept-language: zh-cn", kContentTypeLine,
                          kUserAgentLine})},
        HeaderCase{"empty_value_still_sent", "X: ", "",
                   Lines({"X:", "Accept: */*", "Accept-language: zh-cn", kContentTypeLine,
                          kUserAgentLine})},
        // A line break inside a field would let the text write headers of its own.
        HeaderCase{"line_break_inside_value_dropped", "X: a\nInjected: 1\r\nY: 2", "",
                   Lines({"Y: 2", "Accept: */*", "Accept-language: zh-cn", kContentTypeLine,
                          kUserAgentLine})},
        HeaderCase{"line_break_inside_cookie_dropped", "", "a=1\r\nInjected: 1",
                   Lines({"Accept: */*", "Accept-language: zh-cn", kUserAgentLine, kContentTypeLine,
                          "Connection: Keep-Alive", "Cache-Control: no-cache"})}),
    RowName<HeaderCase>);

struct ProxyCase {
    const char* name;
    HttpsTestServer::Mode target;
    std::string credentials;  // what follows "127.0.0.1:PORT" in the proxy text
    std::optional<std::string> authorization;
    bool reachesTarget;
};

void PrintTo(const ProxyCase& row, std::ostream* os) {
    *os << row.name;
}

class ProxyTest : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(ProxyTest, RoutesThroughTheProxyWithCredentialsOnlyForFourParts) {
    const ProxyCase& row = GetParam();
    HttpTestProxy proxy;
    HttpsTestServer target(row.target);
    target.SetReply({.body = "through"});
    HttpRequestArgs args{.proxy = proxy.HostAndPort() + row.credentials};

    const ByteArray body = HttpRequest(target.Url("/p"), args);

    const std::vector<RecordedRequest> seenByProxy = proxy.Requests();
    const std::vector<RecordedRequest> seenByTarget = target.Requests();
    if (!row.reachesTarget) {
        EXPECT_EQ(body, "");
        EXPECT_TRUE(seenByProxy.empty());
        EXPECT_TRUE(seenByTarget.empty());
        return;
    }
    EXPECT_EQ(body, "through");
    ASSERT_EQ(seenByProxy.size(), 1u);
    ASSERT_EQ(seenByTarget.size(), 1u);
    if (row.target == HttpsTestServer::Mode::kHttps) {
        EXPECT_EQ(seenByProxy[0].requestLine, "CONNECT " + target.HostAndPort() + " HTTP/1.1");
        // The credentials are the proxy's: they never travel through the tunnel.
        EXPECT_EQ(seenByTarget[0].Header("Proxy-Authorization"), std::nullopt);
    } else {
        EXPECT_EQ(seenByProxy[0].requestLine, "GET " + target.Url("/p") + " HTTP/1.1");
    }
    EXPECT_EQ(seenByProxy[0].Header("Proxy-Authorization"), row.authorization);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyTest,
    ::testing::Values(
        ProxyCase{"two_parts_tunnel", HttpsTestServer::Mode::kHttps, "", std::nullopt, true},
        ProxyCase{"four_parts_tunnel", HttpsTestServer::Mode::kHttps, ":user:pa ss",
                  "Basic dXNlcjpwYSBzcw==", true},
        ProxyCase{"four_parts_plain_forward", HttpsTestServer::Mode::kPlainHttp, ":user:pa ss",
                  "Basic dXNlcjpwYSBzcw==", true},
        // Three or five parts go to the proxy setting whole, which names no usable proxy.
        ProxyCase{"three_parts", HttpsTestServer::Mode::kHttps, ":user", std::nullopt, false},
        ProxyCase{"five_parts", HttpsTestServer::Mode::kHttps, ":user:pa:ss", std::nullopt, false}),
    RowName<ProxyCase>);

TEST_F(HttpRequestTest, NoProxyMeansNoneFromTheEnvironmentEither) {
    HttpTestProxy proxy;
    const std::string proxyUrl = "http://" + proxy.HostAndPort();
    setenv("https_proxy", proxyUrl.c_str(), 1);
    setenv("HTTPS_PROXY", proxyUrl.c_str(), 1);
    server_.SetReply({.body = "direct"});

    const ByteArray body = HttpRequest(server_.Url("/"));

    unsetenv("https_proxy");
    unsetenv("HTTPS_PROXY");
    EXPECT_EQ(body, "direct");
    EXPECT_TRUE(proxy.Requests().empty());
}

TEST_F(HttpRequestTest, ServerThatNeverAnswersEndsTheCallEmpty) {
    server_.SetReply({.neverAnswer = true});

    const TimedCall call = CallInBackground(server_.Url("/"), {.timeoutMs = 300});

    EXPECT_TRUE(call.ended);
    EXPECT_EQ(call.body, "");
    EXPECT_GE(call.elapsed, 300ms);
}

TEST_F(HttpRequestTest, TricklingServerIsCutOffByTheLimitOnTheWholeExchange) {
    // A byte every 100 ms keeps every single phase alive: 10000 of them would take 1000 s.
    server_.SetReply({.body = std::string(10000, 'x'), .trickleDelay = 100ms});

    const TimedCall call = CallInBackground(server_.Url("/"), {.timeoutMs = 200});

    EXPECT_TRUE(call.ended);
    EXPECT_EQ(call.body, "");
}

TEST_F(HttpRequestTest, ZeroOrNegativeTimeoutWaitsTheDefaultFiveSeconds) {
    server_.SetReply({.neverAnswer = true});

    auto zero = std::async(std::launch::async,
                           [&] { return CallInBackground(server_.Url("/"), {.timeoutMs = 0}); });
    const TimedCall negative = CallInBackground(server_.Url("/"), {.timeoutMs = -7});
    const TimedCall zeroCall = zero.get();

    for (const TimedCall& call : {zeroCall, negative}) {
        EXPECT_TRUE(call.ended);
        EXPECT_EQ(call.body, "");
        EXPECT_GE(call.elapsed, 4500ms);
    }
}

struct BodyCase {
    const char* name;
    TestReply reply;
    // The body expected: this piece, this many times over (rows stay small while bodies are
    // megabytes long).
    std::string expected;
    std::size_t expectedRepeat = 1;
};

void PrintTo(const BodyCase& row, std::ostream* os) {
    *os << row.name;
}

class ResponseBodyTest : public HttpRequestTest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(ResponseBodyTest, ReturnsTheWholeBodyOrNothing) {
    server_.SetReply(GetParam().reply);

    const ByteArray body = HttpRequest(server_.Url("/b"), {.timeoutMs = 20000});

    const std::string_view piece = GetParam().expected;
    ASSERT_EQ(body.size(), piece.size() * GetParam().expectedRepeat);
    for (std::size_t at = 0; at < body.size(); at += piece.size()) {
        ASSERT_EQ(std::string_view(body).substr(at, piece.size()), piece) << "at byte " << at;
    }
}

// Bodies at and beyond the 8 MiB limit are made of this piece.
const std::string kPiece(64 * 1024, 'p');
constexpr std::size_t kPiecesInLimit = 8 * 1024 * 1024 / (64 * 1024);

INSTANTIATE_TEST_SUITE_P(
    Cases, ResponseBodyTest,
    ::testing::Values(
        BodyCase{"error_page", {.status = 404, .body = "<html>gone</html>"}, "<html>gone</html>"},
        BodyCase{"server_error", {.status = 500, .body = "oops"}, "oops"},
        BodyCase{"empty", {}, ""},
        BodyCase{"zero_byte_inside", {.body = std::string("a\0b", 3)}, std::string("a\0b", 3)},
        BodyCase{"chunked",
                 {.body = "abc", .bodyRepeat = 3, .framing = TestReply::Framing::kChunked},
                 "abcabcabc"},
        BodyCase{"until_close",
                 {.body = "all of it", .framing = TestReply::Framing::kUntilClose},
                 "all of it"},
        BodyCase{"exactly_the_limit",
                 {.body = kPiece, .bodyRepeat = kPiecesInLimit},
                 kPiece,
                 kPiecesInLimit},
        BodyCase{"over_the_limit", {.body = kPiece, .bodyRepeat = kPiecesInLimit + 1}, ""},
        BodyCase{"over_the_limit_chunked",
                 {.body = kPiece,
                  .bodyRepeat = kPiecesInLimit + 1,
                  .framing = TestReply::Framing::kChunked},
                 ""},
        BodyCase{"over_the_limit_until_close",
                 {.body = kPiece,
                  .bodyRepeat = kPiecesInLimit + 1,
                  .framing = TestReply::Framing::kUntilClose},
                 ""},
        BodyCase{
            "closed_mid_body", {.body = std::string(1000, 'c'), .closeAfterBodyBytes = 100}, ""},
        BodyCase{"closed_mid_chunked_body",
                 {.body = std::string(1000, 'c'),
                  .framing = TestReply::Framing::kChunked,
                  .closeAfterBodyBytes = 100},
                 ""}),
    RowName<BodyCase>);

TEST_F(HttpRequestTest, TextFormDecodesUtf8IntoCodePage936) {
    server_.SetReply({.body = "\xE4\xBD\xA0\xE5\xA5\xBD"});

    EXPECT_EQ(HttpRequestText(server_.Url("/")), "\xC4\xE3\xBA\xC3");
}

TEST_F(HttpRequestTest, ReturnsTheResponseHeadersAndCollectsCookiesOnlyWhenAsked) {
    server_.SetReply({.headers = {{"Set-Cookie", "a=1; path=/"},
                                  {"Set-Cookie", "b=2; path=/"},
                                  {"X-Other", "1"}},
                      .body = "ok"});
    HttpRequestArgs collecting{.responseCookies = ""};
    HttpRequestArgs off{.responseCookies = "off"};
    HttpRequestArgs omitted;

    HttpRequest(server_.Url("/"), collecting);
    HttpRequest(server_.Url("/"), off);
    HttpRequest(server_.Url("/"), omitted);

    EXPECT_EQ(collecting.responseHeaders,
              "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2; path=/\r\nX-Other: 1\r\n"
              "Content-Length: 2\r\nConnection: close\r\n");
    EXPECT_EQ(collecting.responseCookies, "a=1; b=2; ");
    EXPECT_EQ(off.responseHeaders, collecting.responseHeaders);
    EXPECT_EQ(off.responseCookies, "off");
    EXPECT_EQ(omitted.responseCookies, std::nullopt);
}

TEST_F(HttpRequestTest, FailedExchangeEmptiesTheResponseHeadersAndCookies) {
    server_.SetReply({.neverAnswer = true});
    HttpRequestArgs args{
        .timeoutMs = 100, .responseHeaders = "stale", .responseCookies = "stale=1; "};

    EXPECT_EQ(HttpRequest(server_.Url("/"), args), "");

    EXPECT_EQ(args.responseHeaders, "");
    EXPECT_EQ(args.responseCookies, "");
}

struct CookieCase {
    const char* name;
    Text responseHeaders;
    Text expected;
};

void PrintTo(const CookieCase& row, std::ostream* os) {
    *os << row.name;
}

class ResponseCookieTest : public ::testing::TestWithParam<CookieCase> {};

TEST_P(ResponseCookieTest, PicksTheCookieOfEverySetCookieLine) {
    EXPECT_EQ(CookiesFromResponseHeaders(GetParam().responseHeaders), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResponseCookieTest,
    ::testing::Values(
        CookieCase{"two_cookies", "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2; path=/\r\n",
                   "a=1; b=2; "},
        CookieCase{"no_semicolon_gives_an_empty_entry", "Set-Cookie: c=3\r\n", "; "},
        CookieCase{"other_lines_ignored", "X-Other: 1\r\nSet-Cookie: a=1;\r\nVary: *\r\n", "a=1; "},
        CookieCase{"name_is_case_sensitive", "set-cookie: a=1;\r\n", ""},
        CookieCase{"ideographic_spaces_trimmed", "Set-Cookie:\xA1\xA1 d=\xD6\xD0 \xA1\xA1;\r\n",
                   "d=\xD6\xD0; "},
        CookieCase{"no_headers", "", ""}),
    RowName<CookieCase>);

TEST_F(HttpRequestTest, FollowsRedirectsAndKeepsOnlyTheFinalHeaders) {
    server_.SetHandler([](const RecordedRequest& request) {
        if (request.target == "/start") {
            return TestReply::Redirect("/end");
        }
        return TestReply{.headers = {{"X-Final", "1"}}, .body = "arrived"};
    });
    HttpRequestArgs args;

    EXPECT_EQ(HttpRequest(server_.Url("/start"), args), "arrived");

    EXPECT_EQ(args.responseHeaders, "X-Final: 1\r\nContent-Length: 7\r\nConnection: close\r\n");
    EXPECT_EQ(server_.Requests().size(), 2u);
}

struct RedirectChainCase {
    const char* name;
    int hops;
    std::string expected;
};

void PrintTo(const RedirectChainCase& row, std::ostream* os) {
    *os << row.name;
}

class RedirectChainTest : public HttpRequestTest,
                          public ::testing::WithParamInterface<RedirectChainCase> {};

TEST_P(RedirectChainTest, FollowsAtMostTenRedirects) {
    const int hops = GetParam().hops;
    server_.SetHandler([hops](const RecordedRequest& request) {
        const int hop = std::stoi(request.target.substr(1));
        return hop < hops ? TestReply::Redirect("/" + std::to_string(hop + 1))
                          : TestReply{.body = "end"};
    });

    EXPECT_EQ(HttpRequest(server_.Url("/0")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RedirectChainTest,
                         ::testing::Values(RedirectChainCase{"ten", 10, "end"},
                                           RedirectChainCase{"eleven", 11, ""}),
                         RowName<RedirectChainCase>);

struct RefusedRedirectCase {
    const char* name;
    std::string location;  // "PLAIN" stands for the plain HTTP server's address
};

void PrintTo(const RefusedRedirectCase& row, std::ostream* os) {
    *os << row.name;
}

class RefusedRedirectTest : public HttpRequestTest,
                            public ::testing::WithParamInterface<RefusedRedirectCase> {};

TEST_P(RefusedRedirectTest, RefusesRedirectsAwayFromHttps) {
    HttpsTestServer plain(HttpsTestServer::Mode::kPlainHttp);
    plain.SetReply({.body = "downgraded"});
    const std::string location =
        GetParam().location == "PLAIN" ? plain.Url("/") : GetParam().location;
    server_.SetReply(TestReply::Redirect(location));

    EXPECT_EQ(HttpRequest(server_.Url("/")), "");
    EXPECT_TRUE(plain.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedRedirectTest,
                         ::testing::Values(RefusedRedirectCase{"file", "file:///etc/hostname"},
                                           RefusedRedirectCase{"ftp", "ftp://127.0.0.1:21/"},
                                           RefusedRedirectCase{"dict", "dict://127.0.0.1:2628/d:x"},
                                           RefusedRedirectCase{"plain_http", "PLAIN"}),
                         RowName<RefusedRedirectCase>);

TEST(HttpRequestSchemeTest, SpeaksOnlyHttpAndHttps) {
    for (const char* url : {"file:///etc/hostname", "ftp://127.0.0.1:21/", "dict://127.0.0.1/"}) {
        EXPECT_EQ(HttpRequest(url), "") << url;
    }
}

TEST(HttpRequestCertificateTest, UntrustedCertificateFailsBeforeAnyRequest) {
    HttpsTestServer untrusted(HttpsTestServer::Mode::kUntrustedHttps);
    untrusted.SetReply({.body = "should not be read"});

    EXPECT_EQ(HttpRequest(untrusted.Url("/")), "");
    EXPECT_TRUE(untrusted.Requests().empty());
}

TEST_F(HttpRequestTest, CallsOnSeveralThreadsShareNothing) {
    server_.SetHandler(
        [](const RecordedRequest& request) { return TestReply{.body = request.target}; });
    constexpr int kThreads = 4;
    constexpr int kCallsEach = 3;
    std::vector<std::vector<ByteArray>> bodies(kThreads);

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int c = 0; c < kCallsEach; ++c) {
                bodies[t].push_back(
                    HttpRequest(server_.Url("/" + std::to_string(t) + "-" + std::to_string(c))));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    for (int t = 0; t < kThreads; ++t) {
        for (int c = 0; c < kCallsEach; ++c) {
            EXPECT_EQ(bodies[t][c], "/" + std::to_string(t) + "-" + std::to_string(c));
        }
    }
}

}  // namespace
}  // namespace tavelo
