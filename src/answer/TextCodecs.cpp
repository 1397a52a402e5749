#include "answer/TextCodecs.h"

#include "platform/CodePage936.h"
#include "text/Unicode.h"

namespace tavelo {

namespace {

bool KeptByAlnum(unsigned char byte) {
    return byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
           (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// Code points up to the first U+0000, written in code page 936.
Text CodePointsToGbk(std::u32string codePoints) {
    const auto zero = codePoints.find(U'\0');
    if (zero != std::u32string::npos) {
        codePoints.resize(zero);
    }
    return EncodeCodePage936(codePoints);
}

std::u32string GbkToCodePoints(std::string_view gbk) {
    return DecodeCodePage936(gbk.substr(0, gbk.find('\0')));
}

}  // namespace

Text UrlEncode(std::string_view text, const UrlEncodeOptions& options) {
    const std::string utf8 = options.asUtf8 ? GbkToUtf8(text) : std::string();
    const std::string_view bytes = options.asUtf8 ? std::string_view(utf8) : text;
    static constexpr char kHex[] = "0123456789ABCDEF";
    Text out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (options.keepAlnum && KeptByAlnum(byte)) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

Text Utf8ToGbk(std::string_view utf8) {
    return CodePointsToGbk(DecodeUtf8(utf8));
}

std::string GbkToUtf8(std::string_view gbk) {
    return EncodeUtf8(GbkToCodePoints(gbk));
}

Text Base64Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Text out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 |
                               static_cast<unsigned char>(bytes[i + 2]);
        out.push_back(kAlphabet[(group >> 18) & 0x3F]);
        out.push_back(kAlphabet[(group >> 12) & 0x3F]);
        out.push_back(kAlphabet[(group >> 6) & 0x3F]);
        out.push_back(kAlphabet[group & 0x3F]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) {
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        out.push_back(kAlphabet[(group >> 18) & 0x3F]);
        out.push_back(kAlphabet[(group >> 12) & 0x3F]);
        out.push_back(rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=');
        out.push_back('=');
    }
    return out;
}

std::u16string GbkToUtf16(std::string_view gbk) {
    return EncodeUtf16(GbkToCodePoints(gbk));
}

Text Utf16ToGbk(std::u16string_view utf16) {
    return CodePointsToGbk(DecodeUtf16(utf16));
}

}  // namespace tavelo
