#include "json/MemberPath.h"

#include <string>

#include "text/Unicode.h"

namespace tavelo {

namespace {

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// The script's blanks and line ends beyond ASCII: they would split a path into tokens.
bool IsWideBlank(char32_t c) {
    return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF ||
           c == kReplacementChar;
}

bool IsNameChar(char32_t c) {
    if (c >= 0x80) {
        return !IsWideBlank(c);
    }
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || IsDigit(c) || c == U'_' ||
           c == U'$';
}

class PathReader {
public:
    explicit PathReader(std::u32string_view path) : path_(path) {}

    bool AtEnd() const { return pos_ >= path_.size(); }
    char32_t Peek() const { return AtEnd() ? 0 : path_[pos_]; }
    void Skip() { ++pos_; }

    bool ReadName() {
        const std::size_t start = pos_;
        while (!AtEnd() && IsNameChar(Peek())) {
            Skip();
        }
        return pos_ > start;
    }

    // "[index]", "['name']" or "[\"name\"]", the reader standing on "[".
    bool ReadBracket() {
        Skip();
        const char32_t quote = Peek();
        if (quote == U'\'' || quote == U'"') {
            Skip();
            while (!AtEnd() && Peek() != quote) {
                const char32_t c = Peek();
                if (c == U'\\' || c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029) {
                    return false;
                }
                Skip();
            }
            if (AtEnd()) {
                return false;
            }
            Skip();
        } else {
            if (Peek() == U'-') {
                Skip();
            }
            const std::size_t digits = pos_;
            while (!AtEnd() && IsDigit(Peek())) {
                Skip();
            }
            if (pos_ == digits) {
                return false;
            }
        }
        if (Peek() != U']') {
            return false;
        }
        Skip();
        return true;
    }

    bool ReadCall() {
        if (path_.substr(pos_, 2) != U"()") {
            return false;
        }
        pos_ += 2;
        return true;
    }

private:
    std::u32string_view path_;
    std::size_t pos_ = 0;
};

}  // namespace

bool IsMemberPath(std::string_view utf8Path) {
    const std::u32string path = DecodeUtf8(utf8Path);
    PathReader reader(path);
    if (!reader.AtEnd() && reader.Peek() != U'[' && !reader.ReadName()) {
        return false;
    }
    while (!reader.AtEnd()) {
        bool read = false;
        switch (reader.Peek()) {
            case U'.':
                reader.Skip();
                read = reader.ReadName();
                break;
            case U'[':
                read = reader.ReadBracket();
                break;
            default:
                read = reader.ReadCall();
                break;
        }
        if (!read) {
            return false;
        }
    }
    return true;
}

}  // namespace tavelo
