#include "json/JsonNumberRange.h"

#include <charconv>
#include <system_error>

namespace tavelo {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNumberChar(char c) {
    return IsDigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// The decimal exponent of the first significant digit of a number token written as JSON
// writes numbers (-?digits[.digits][e[+-]digits]), saturated far beyond any double; the
// token must hold a digit other than 0.
long long LeadingExponent(std::string_view token) {
    std::size_t pos = token.starts_with('-') ? 1 : 0;
    long long lead = 0;
    bool found = false;
    long long intDigits = 0;
    for (; pos < token.size() && IsDigit(token[pos]); ++pos) {
        if (!found && token[pos] != '0') {
            found = true;
            intDigits = 0;
        }
        ++intDigits;
    }
    if (found) {
        lead = intDigits - 1;
    }
    if (pos < token.size() && token[pos] == '.') {
        long long place = 0;
        for (++pos; pos < token.size() && IsDigit(token[pos]); ++pos) {
            --place;
            if (!found && token[pos] != '0') {
                found = true;
                lead = place;
            }
        }
    }
    long long exponent = 0;
    if (pos < token.size() && (token[pos] == 'e' || token[pos] == 'E')) {
        ++pos;
        const bool negative = pos < token.size() && token[pos] == '-';
        if (pos < token.size() && (token[pos] == '-' || token[pos] == '+')) {
            ++pos;
        }
        for (; pos < token.size() && IsDigit(token[pos]); ++pos) {
            constexpr long long kSaturation = 1'000'000'000;
            exponent = exponent < kSaturation ? exponent * 10 + (token[pos] - '0') : exponent;
        }
        exponent = negative ? -exponent : exponent;
    }
    return lead + exponent;
}

bool IsTooLarge(std::string_view token) {
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    // from_chars reports both overflow and underflow as out of range: only a magnitude of at
    // least 1 can have overflowed.
    return error == std::errc::result_out_of_range && LeadingExponent(token) >= 0;
}

}  // namespace

bool HoldsNumberBeyondDouble(std::string_view json) {
    std::size_t pos = 0;
    while (pos < json.size()) {
        const char c = json[pos];
        if (c == '"') {
            for (++pos; pos < json.size() && json[pos] != '"'; ++pos) {
                if (json[pos] == '\\') {
                    ++pos;
                }
            }
            ++pos;
        } else if (c == '-' || IsDigit(c)) {
            const std::size_t start = pos;
            while (pos < json.size() && IsNumberChar(json[pos])) {
                ++pos;
            }
            if (IsTooLarge(json.substr(start, pos - start))) {
                return true;
            }
        } else {
            ++pos;
        }
    }
    return false;
}

}  // namespace tavelo
