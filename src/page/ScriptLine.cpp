#include "page/ScriptLine.h"

#include "platform/CodePage936.h"
#include "text/MultiReplace.h"

namespace tavelo {

namespace {

// "AddMsg('#NAME', \"#内容变量91874\",'#IMG');" in code page 936.
constexpr std::string_view kBubbleTemplate =
    "AddMsg('#NAME', \"#\xC4\xDA\xC8\xDD\xB1\xE4\xC1\xBF"
    "91874\",'#IMG');";
constexpr std::string_view kNamePlaceholder = "#NAME";
constexpr std::string_view kMessagePlaceholder =
    "#\xC4\xDA\xC8\xDD\xB1\xE4\xC1\xBF"
    "91874";
constexpr std::string_view kAvatarPlaceholder = "#IMG";

void AppendUnicodeEscape(std::u32string& out, char32_t c) {
    constexpr char kHex[] = "0123456789ABCDEF";
    out += U"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += static_cast<char32_t>(kHex[(c >> shift) & 0xF]);
    }
}

}  // namespace

Text EscapeScriptString(std::string_view gbk) {
    // The escaping works on the characters the page will see: the text is read as the view
    // reads it, so a byte that only looks like the second half of a character (a bad pair,
    // the single-byte euro sign before a quote) cannot hide a quote or a backslash.
    const std::u32string characters = DecodeCodePage936(CutAtZero(gbk));
    std::u32string escaped;
    escaped.reserve(characters.size() + characters.size() / 8);
    for (const char32_t c : characters) {
        switch (c) {
            case U'\\':
            case U'\'':
            case U'"':
                escaped += U'\\';
                escaped += c;
                break;
            case U'\r':
                escaped += U"\\r";
                break;
            case U'\n':
                escaped += U"\\n";
                break;
            case U'<':
            case U'>':
            case U'&':
            case U'\u2028':
            case U'\u2029':
                AppendUnicodeEscape(escaped, c);
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    AppendUnicodeEscape(escaped, c);
                } else {
                    escaped += c;
                }
        }
    }
    return EncodeCodePage936(escaped);
}

Text BubbleScriptLine(std::string_view name, std::string_view message, std::string_view avatarUrl) {
    const Text escapedName = EscapeScriptString(name);
    const Text escapedMessage = EscapeScriptString(message);
    const Text escapedAvatarUrl = EscapeScriptString(avatarUrl);
    return MultiReplace(kBubbleTemplate, {{kNamePlaceholder, escapedName},
                                          {kMessagePlaceholder, escapedMessage},
                                          {kAvatarPlaceholder, escapedAvatarUrl}});
}

}  // namespace tavelo
