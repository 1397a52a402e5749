// Code page 936 (GBK) read into code points and written back, over the C library's iconv.
#pragma once

#include <string>
#include <string_view>

namespace tavelo {

// Bytes that code page 936 does not define (a lone lead byte, a bad pair) each become "?".
std::u32string DecodeCodePage936(std::string_view bytes);

// A character that code page 936 cannot hold becomes "?".
std::string EncodeCodePage936(std::u32string_view codePoints);

}  // namespace tavelo
