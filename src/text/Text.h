// The program's text types.
//
// A Text is a byte string in code page 936 (GBK) that never holds a zero byte: a byte of
// 0x80 or more starts a two-byte character. Lengths and positions are counted in bytes.
// A ByteArray is a counted run of bytes that may hold zero bytes (bodies, images, files).
#pragma once

#include <string>
#include <string_view>

namespace tavelo {

using Text = std::string;
using ByteArray = std::string;

// True when the byte starts a two-byte character.
constexpr bool IsLeadByte(unsigned char byte) {
    return byte >= 0x80;
}

// The length in bytes of the character that starts at `pos` (1 or 2, never past the end).
inline std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// The text up to its first zero byte, as a zero-terminated string would read.
inline Text CutAtZero(std::string_view bytes) {
    return Text(bytes.substr(0, bytes.find('\0')));
}

}  // namespace tavelo
