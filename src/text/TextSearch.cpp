#include "text/TextSearch.h"

namespace tavelo {

namespace {

// The first character start at or after `target`, stepping whole characters from `pos`.
std::size_t CharStartFrom(std::string_view text, std::size_t pos, std::size_t target) {
    while (pos < target && pos < text.size()) {
        pos += CharLengthAt(text, pos);
    }
    return pos;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view what, std::size_t from) {
    if (from > text.size()) {
        return kNotFound;
    }
    if (what.size() > text.size()) {
        return kNotFound;
    }
    const std::size_t last = text.size() - what.size();
    for (std::size_t pos = from; pos <= last; pos += CharLengthAt(text, pos)) {
        if (text.compare(pos, what.size(), what) == 0) {
            return pos;
        }
        if (pos == text.size()) {
            break;
        }
    }
    return kNotFound;
}

std::size_t FindLastText(std::string_view text, std::string_view what) {
    std::size_t found = kNotFound;
    for (std::size_t pos = FindText(text, what); pos != kNotFound;
         pos = pos < text.size() ? FindText(text, what, pos + CharLengthAt(text, pos))
                                 : kNotFound) {
        found = pos;
    }
    return found;
}

Text ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) {
        return Text(text);
    }
    Text result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t pos = FindText(text, what); pos != kNotFound;
         pos = FindText(text, what, copied)) {
        result.append(text.substr(copied, pos - copied)).append(with);
        copied = CharStartFrom(text, pos, pos + what.size());
    }
    result.append(text.substr(copied));
    return result;
}

std::vector<Text> SplitText(std::string_view text, std::string_view separator) {
    std::vector<Text> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t begin = 0;
    for (std::size_t pos = FindText(text, separator); pos != kNotFound;
         pos = FindText(text, separator, begin)) {
        pieces.emplace_back(text.substr(begin, pos - begin));
        begin = CharStartFrom(text, pos, pos + separator.size());
    }
    if (begin < text.size()) {
        pieces.emplace_back(text.substr(begin));
    }
    return pieces;
}

}  // namespace tavelo
