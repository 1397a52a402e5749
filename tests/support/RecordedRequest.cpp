#include "RecordedRequest.h"

#include <algorithm>
#include <charconv>

#include "LoopbackConnection.h"

namespace tavelo::test {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string_view NameOf(std::string_view line) {
    return line.substr(0, line.find(':'));
}

}  // namespace

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
    for (const std::string& line : headerLines) {
        const auto colon = line.find(':');
        if (colon != std::string::npos && SameName(Trim(line.substr(0, colon)), name)) {
            return std::string(Trim(std::string_view(line).substr(colon + 1)));
        }
    }
    return std::nullopt;
}

std::vector<std::string> RecordedRequest::HeaderLinesWithout(
    std::initializer_list<std::string_view> names) const {
    std::vector<std::string> kept;
    for (const std::string& line : headerLines) {
        if (std::ranges::none_of(
                names, [&](std::string_view name) { return SameName(NameOf(line), name); })) {
            kept.push_back(line);
        }
    }
    return kept;
}

std::optional<RecordedRequest> ReadRequest(LoopbackConnection& connection, std::string& pending) {
    std::size_t headEnd;
    while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
        if (!connection.ReadSome(pending)) {
            return std::nullopt;
        }
    }
    RecordedRequest request;
    std::string_view head(pending.data(), headEnd);
    std::size_t lineEnd = head.find("\r\n");
    request.requestLine = head.substr(0, lineEnd);
    while (lineEnd != std::string_view::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        request.headerLines.emplace_back(head.substr(start, lineEnd - start));
    }
    const auto firstSpace = request.requestLine.find(' ');
    const auto lastSpace = request.requestLine.rfind(' ');
    if (firstSpace == std::string::npos || lastSpace == firstSpace) {
        return std::nullopt;
    }
    request.method = request.requestLine.substr(0, firstSpace);
    request.target = request.requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    pending.erase(0, headEnd + 4);

    std::size_t bodyLength = 0;
    if (const auto length = request.Header("Content-Length")) {
        std::from_chars(length->data(), length->data() + length->size(), bodyLength);
    }
    while (pending.size() < bodyLength) {
        if (!connection.ReadSome(pending)) {
            return std::nullopt;
        }
    }
    request.body = pending.substr(0, bodyLength);
    pending.erase(0, bodyLength);
    return request;
}

std::string RequestBytes(const RecordedRequest& request) {
    std::string bytes = request.requestLine + "\r\n";
    for (const std::string& line : request.headerLines) {
        bytes += line + "\r\n";
    }
    return bytes + "\r\n" + request.body;
}

}  // namespace tavelo::test
