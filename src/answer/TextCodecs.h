// Conversions between code page 936, UTF-8 and UTF-16, percent-encoding and Base64.
// All are pure functions, safe on any thread. None fails: a character that code page 936
// cannot hold becomes "?", each ill-formed UTF-8 or UTF-16 sequence becomes "?" in code page
// 936 (U+FFFD elsewhere), and a Text result ends at its first zero.
#pragma once

#include <string>

#include "text/Text.h"

namespace tavelo {

struct UrlEncodeOptions {
    // Write "-", ".", digits and ASCII letters as they are.
    bool keepAlnum = false;
    // Encode the UTF-8 form of the text instead of its code page 936 bytes.
    bool asUtf8 = false;
};

// Every byte as "%XX" (upper-case hex), but for those that keepAlnum keeps.
Text UrlEncode(std::string_view text, const UrlEncodeOptions& options = {});

// UTF-8 bytes to a code page 936 text, cut at the first U+0000.
Text Utf8ToGbk(std::string_view utf8);

// A code page 936 text (read up to its first zero) to UTF-8 bytes.
std::string GbkToUtf8(std::string_view gbk);

// RFC 4648 Base64 with padding, on one line.
Text Base64Encode(std::string_view bytes);

// The edges to Qt: code page 936 to and from UTF-16.
std::u16string GbkToUtf16(std::string_view gbk);
Text Utf16ToGbk(std::u16string_view utf16);

}  // namespace tavelo
