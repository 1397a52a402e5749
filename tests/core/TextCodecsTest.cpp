#include <gtest/gtest.h>

#include "answer/TextCodecs.h"

namespace tavelo {
namespace {

const std::string kNiHaoGbk = "\xC4\xE3\xBA\xC3";
const std::string kNiHaoUtf8 = "\xE4\xBD\xA0\xE5\xA5\xBD";

struct UrlCase {
    const char* name;
    std::string text;
    UrlEncodeOptions options;
    std::string expected;
};

// Rows print as their names in test listings.
void PrintTo(const UrlCase& row, std::ostream* os) {
    *os << row.name;
}

class UrlEncodeTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlEncodeTest, Encodes) {
    EXPECT_EQ(UrlEncode(GetParam().text, GetParam().options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlEncodeTest,
    ::testing::Values(
        UrlCase{"everything_by_default", "a b", {}, "%61%20%62"},
        UrlCase{"keep_alnum", "a b", {.keepAlnum = true}, "a%20b"},
        UrlCase{"keep_alnum_set_is_narrow", "a-b_c.d/e~", {.keepAlnum = true}, "a-b%5Fc.d%2Fe%7E"},
        UrlCase{"gbk_bytes", kNiHaoGbk, {}, "%C4%E3%BA%C3"},
        UrlCase{"as_utf8", kNiHaoGbk, {.asUtf8 = true}, "%E4%BD%A0%E5%A5%BD"},
        UrlCase{"two_upper_digits", "\n\xFF", {}, "%0A%FF"}, UrlCase{"empty", "", {}, ""},
        UrlCase{"empty_as_utf8", "", {.asUtf8 = true}, ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::string gbk;
};

// Rows print as their names in test listings.
void PrintTo(const Utf8Case& row, std::ostream* os) {
    *os << row.name;
}

class Utf8ToGbkTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToGbkTest, Converts) {
    EXPECT_EQ(Utf8ToGbk(GetParam().utf8), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8ToGbkTest,
                         ::testing::Values(Utf8Case{"chinese", kNiHaoUtf8, kNiHaoGbk},
                                           Utf8Case{"empty", "", ""},
                                           Utf8Case{"cut_at_zero", std::string("ab\0cd", 5), "ab"},
                                           Utf8Case{"euro_is_one_byte", "\xE2\x82\xAC", "\x80"},
                                           Utf8Case{"not_in_code_page",
                                                    "a\xF0\x9F\x98\x80"
                                                    "b",
                                                    "a?b"},  // an emoji
                                           Utf8Case{"lone_continuation",
                                                    "a\x80"
                                                    "b",
                                                    "a?b"},
                                           Utf8Case{"truncated_sequence_at_end", "a\xE4\xBD", "a?"},
                                           Utf8Case{"truncated_sequence_mid",
                                                    "\xE4\xBD"
                                                    "a",
                                                    "?a"},
                                           Utf8Case{"overlong_slash", "\xC0\xAF", "??"},
                                           Utf8Case{"encoded_surrogate", "\xED\xA0\x80", "???"},
                                           Utf8Case{"beyond_unicode", "\xF4\x90\x80\x80", "????"},
                                           Utf8Case{"invalid_lead",
                                                    "\xFF"
                                                    "a",
                                                    "?a"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GbkToUtf8, Converts) {
    EXPECT_EQ(GbkToUtf8(kNiHaoGbk), kNiHaoUtf8);
    EXPECT_EQ(GbkToUtf8(""), "");
    EXPECT_EQ(GbkToUtf8(std::string("a\0b", 3)), "a");
    // A lone lead byte at the end is not a character.
    EXPECT_EQ(GbkToUtf8("a\xC4"), "a?");
}

TEST(Utf16Edges, ConvertBothWays) {
    EXPECT_EQ(GbkToUtf16(kNiHaoGbk), u"\u4F60\u597D");
    EXPECT_EQ(Utf16ToGbk(u"\u4F60\u597D"), kNiHaoGbk);
    EXPECT_EQ(Utf16ToGbk(u"a\xD800"
                         "b"),
              "a?b");  // a lone surrogate
    EXPECT_EQ(Utf16ToGbk(std::u16string(u"a\0b", 3)), "a");
}

// Every two-byte character that code page 936 defines survives GBK -> UTF-8 -> GBK and
// GBK -> UTF-16 -> GBK; the ones it does not define read as "?".
TEST(CodePage936, EveryTwoByteCharacterRoundTrips) {
    int defined = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = GbkToUtf8(gbk);
            if (utf8.find('?') != std::string::npos) {  // not defined in code page 936
                continue;
            }
            ++defined;
            ASSERT_EQ(Utf8ToGbk(utf8), gbk) << std::hex << lead << ' ' << trail;
            ASSERT_EQ(Utf16ToGbk(GbkToUtf16(gbk)), gbk) << std::hex << lead << ' ' << trail;
        }
    }
    // GBK defines 21,886 characters; the user-defined areas may add more.
    EXPECT_GE(defined, 21000);
}

TEST(Base64Encode, PadsTheLastGroup) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("a"), "YQ==");
    EXPECT_EQ(Base64Encode("ab"), "YWI=");
    EXPECT_EQ(Base64Encode("abc"), "YWJj");
    EXPECT_EQ(Base64Encode(std::string("\0\xFF\xFE", 3)), "AP/+");
    EXPECT_EQ(Base64Encode("user:pass"), "dXNlcjpwYXNz");
    const std::string longInput(300, 'x');
    EXPECT_EQ(Base64Encode(longInput).find('\n'), std::string::npos);
    EXPECT_EQ(Base64Encode(longInput).size(), 400u);
}

}  // namespace
}  // namespace tavelo
