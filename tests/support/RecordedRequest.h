// An HTTP request as a local test server or proxy received it, and how it is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelo::test {

class LoopbackConnection;

struct RecordedRequest {
    std::string requestLine;               // "GET /path?query HTTP/1.1"
    std::string method;                    // "GET"
    std::string target;                    // "/path?query", or the whole URL through a proxy
    std::vector<std::string> headerLines;  // "Name: value", in the order received
    std::string body;

    // The value of the first header with that name (case-insensitive), without the spaces
    // around it; nothing when there is no such header.
    std::optional<std::string> Header(std::string_view name) const;
    // The header lines without those named in `names` (case-insensitive).
    std::vector<std::string> HeaderLinesWithout(
        std::initializer_list<std::string_view> names) const;
};

// Reads one request (head, then a body of Content-Length bytes) from the connection.
// `pending` carries bytes read beyond the request into the next call. Nothing when the
// connection ends first or the head is malformed.
std::optional<RecordedRequest> ReadRequest(LoopbackConnection& connection, std::string& pending);

// The request as bytes again, as it would go on to the next server.
std::string RequestBytes(const RecordedRequest& request);

}  // namespace tavelo::test
