#include "json/EngineText.h"

#include "answer/TextCodecs.h"
#include "text/Unicode.h"

namespace tavelo {

namespace {

// The UTF-16 unit of an encoded surrogate (ED A0..BF 80..BF) at `pos`, or 0.
char16_t SurrogateAt(std::string_view text, std::size_t pos) {
    if (pos + 3 > text.size()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    const auto third = static_cast<unsigned char>(text[pos + 2]);
    if (lead != 0xED || second < 0xA0 || second > 0xBF || third < 0x80 || third > 0xBF) {
        return 0;
    }
    return static_cast<char16_t>(0xD000 | (second & 0x3F) << 6 | (third & 0x3F));
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Rewrites the engine's surrogates as UTF-8: a pair as its one character, a lone one as
// U+FFFD.
std::string JoinSurrogates(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char16_t unit = SurrogateAt(text, pos);
        if (unit == 0) {
            out.push_back(text[pos]);
            ++pos;
            continue;
        }
        const char16_t next = SurrogateAt(text, pos + 3);
        if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
            const char32_t codePoint = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            out += EncodeUtf8(std::u32string_view(&codePoint, 1));
            pos += 6;
        } else {
            out += EncodeUtf8(std::u32string_view(&kReplacementChar, 1));
            pos += 3;
        }
    }
    return out;
}

bool HoldsSurrogate(std::string_view text) {
    for (std::size_t pos = text.find('\xED'); pos != std::string_view::npos;
         pos = text.find('\xED', pos + 1)) {
        if (SurrogateAt(text, pos) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ToEngineText(std::string_view gbk) {
    return GbkToUtf8(gbk);
}

Text FromEngineText(std::string_view engineText) {
    return HoldsSurrogate(engineText) ? Utf8ToGbk(JoinSurrogates(engineText))
                                      : Utf8ToGbk(engineText);
}

}  // namespace tavelo
