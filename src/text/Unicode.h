// UTF-8 and UTF-16 read into code points and written back from them.
#pragma once

#include <string>
#include <string_view>

namespace tavelo {

constexpr char32_t kReplacementChar = 0xFFFD;

// Every ill-formed sequence (each maximal bad subpart, surrogates and overlong forms
// included) becomes one U+FFFD; decoding never fails.
std::u32string DecodeUtf8(std::string_view bytes);
std::u32string DecodeUtf16(std::u16string_view units);

// Code points that are not Unicode scalar values are written as U+FFFD.
std::string EncodeUtf8(std::u32string_view codePoints);
std::u16string EncodeUtf16(std::u32string_view codePoints);

}  // namespace tavelo
