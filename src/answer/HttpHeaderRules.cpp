#include "answer/HttpHeaderRules.h"

#include <array>

#include "answer/TextCodecs.h"
#include "text/TextSearch.h"

namespace tavelo {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kIdeographicSpace = "\xA1\xA1";
constexpr std::string_view kBdtb = "bdtb for Android";

constexpr std::string_view kAccept = "*/*";
constexpr std::string_view kAcceptLanguage = "zh-cn";
constexpr std::string_view kUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/69.0.3497.100 Safari/537.36";
constexpr std::string_view kContentType = "application/x-www-form-urlencoded";

bool Contains(std::string_view text, std::string_view what) {
    return FindText(text, what) != kNotFound;
}

// `text` without the ASCII spaces at either end.
Text TrimAsciiSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return Text(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// `text` without ASCII and ideographic spaces at either end, stepping whole characters.
Text TrimAllSpaces(std::string_view text) {
    std::size_t begin = kNotFound;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = CharLengthAt(text, pos);
        const std::string_view character = text.substr(pos, length);
        if (character != " " && character != kIdeographicSpace) {
            if (begin == kNotFound) {
                begin = pos;
            }
            end = pos + length;
        }
        pos += length;
    }
    return begin == kNotFound ? Text() : Text(text.substr(begin, end - begin));
}

bool FitsOnOneLine(const HeaderField& field) {
    const auto breaksLine = [](std::string_view text) {
        return text.find_first_of(kCrLf) != std::string_view::npos;
    };
    return !field.name.empty() && !breaksLine(field.name) && !breaksLine(field.value);
}

// A caller's line "name: value" as a field, or nothing when the line has no ":" between
// two pieces. The value is what follows the line's last "name:".
std::optional<HeaderField> ParseHeaderLine(std::string_view line) {
    const std::vector<Text> parts = SplitText(line, ":");
    if (parts.size() < 2) {
        return std::nullopt;
    }
    HeaderField field{parts[0], {}};
    const Text key = field.name + ":";
    const std::size_t last = FindLastText(line, key);
    if (last != kNotFound) {
        field.value = TrimAsciiSpaces(line.substr(last + key.size()));
    }
    return field;
}

}  // namespace

std::vector<HeaderField> RequestHeaderFields(std::string_view headers, std::string_view cookie) {
    std::vector<HeaderField> fields;
    if (headers.empty()) {
        fields = {{"Accept", Text(kAccept)},        {"Accept-language", Text(kAcceptLanguage)},
                  {"User-Agent", Text(kUserAgent)}, {"Content-Type", Text(kContentType)},
                  {"Connection", "Keep-Alive"},     {"Cache-Control", "no-cache"}};
        if (!cookie.empty()) {
            fields.push_back({"Cookie", Text(cookie)});
        }
    } else {
        for (const Text& line : SplitText(headers, kCrLf)) {
            if (auto field = ParseHeaderLine(line)) {
                fields.push_back(std::move(*field));
            }
        }
        if (!Contains(headers, kBdtb)) {
            // The tests look at the caller's whole text, with these exact spellings.
            const std::array<std::pair<std::string_view, HeaderField>, 4> defaults{{
                {"Accept:", {"Accept", Text(kAccept)}},
                {"Accept-Language:", {"Accept-language", Text(kAcceptLanguage)}},
                {"Content-Type:", {"Content-Type", Text(kContentType)}},
                {"User-Agent:", {"User-Agent", Text(kUserAgent)}},
            }};
            for (const auto& [mention, field] : defaults) {
                if (!Contains(headers, mention)) {
                    fields.push_back(field);
                }
            }
            if (!cookie.empty()) {
                fields.push_back({"Cookie", Text(cookie)});
            }
        }
    }
    std::erase_if(fields, [](const HeaderField& field) { return !FitsOnOneLine(field); });
    return fields;
}

ProxyRoute ProxyRouteFor(std::string_view proxy) {
    const std::vector<Text> parts = SplitText(proxy, ":");
    if (parts.size() != 4) {
        return {Text(proxy), std::nullopt};
    }
    return {parts[0] + ":" + parts[1], "Basic " + Base64Encode(parts[2] + ":" + parts[3])};
}

Text CookiesFromResponseHeaders(std::string_view responseHeaders) {
    constexpr std::string_view kKey = "Set-Cookie:";
    Text cookies;
    for (const Text& line : SplitText(responseHeaders, kCrLf)) {
        if (!Contains(line, "Set-Cookie")) {
            continue;
        }
        Text cookie;
        const std::size_t key = FindText(line, kKey);
        if (key != kNotFound) {
            const std::size_t begin = key + kKey.size();
            const std::size_t end = FindText(line, ";", begin);
            if (end != kNotFound) {
                cookie = TrimAllSpaces(std::string_view(line).substr(begin, end - begin));
            }
        }
        cookies += cookie + "; ";
    }
    return cookies;
}

}  // namespace tavelo
