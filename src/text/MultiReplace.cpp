#include "text/MultiReplace.h"

namespace tavelo {

namespace {

constexpr std::size_t kMaxPairs = 5;

unsigned char FoldAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Whether `what` stands at `pos`. Case is folded only for single-byte characters, so the
// trail byte of a two-byte character never matches a differently cased letter.
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view what, bool matchCase) {
    if (text.size() - pos < what.size()) {
        return false;
    }
    for (std::size_t i = 0; i < what.size();) {
        const auto a = static_cast<unsigned char>(text[pos + i]);
        const auto b = static_cast<unsigned char>(what[i]);
        if (IsLeadByte(b)) {
            const std::size_t width = i + 1 < what.size() ? 2 : 1;
            if (text.compare(pos + i, width, what.substr(i, width)) != 0) {
                return false;
            }
            i += width;
            continue;
        }
        if (matchCase ? a != b : FoldAscii(a) != FoldAscii(b)) {
            return false;
        }
        ++i;
    }
    return true;
}

Text ReplaceOnePair(std::string_view text, std::string_view what, std::string_view with,
                    const ReplaceOptions& options) {
    if (what.empty()) {
        return Text(text);
    }
    const std::size_t begin = options.start > 1 ? static_cast<std::size_t>(options.start) - 1 : 0;
    if (begin >= text.size()) {
        return Text(text);
    }
    long remaining = options.count ? *options.count : -1;
    Text result(text.substr(0, begin));
    result.reserve(text.size());
    std::size_t pos = begin;
    while (pos < text.size()) {
        if (remaining != 0 && MatchesAt(text, pos, what, options.matchCase)) {
            result.append(with);
            const std::size_t end = pos + what.size();
            while (pos < end) {
                pos += CharLengthAt(text, pos);
            }
            if (remaining > 0) {
                --remaining;
            }
            continue;
        }
        const std::size_t width = CharLengthAt(text, pos);
        result.append(text.substr(pos, width));
        pos += width;
    }
    return result;
}

}  // namespace

Text MultiReplace(std::string_view text, std::initializer_list<ReplacePair> pairs,
                  const ReplaceOptions& options) {
    Text result(text);
    std::size_t applied = 0;
    for (const auto& [what, with] : pairs) {
        if (applied++ == kMaxPairs) {
            break;
        }
        result = ReplaceOnePair(result, what, with, options);
    }
    return result;
}

}  // namespace tavelo
