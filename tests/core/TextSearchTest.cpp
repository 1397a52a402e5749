#include <gtest/gtest.h>

#include "text/TextSearch.h"

namespace tavelo {
namespace {

// "你" is C4 E3 and "好" is BA C3: the bytes E3 BA straddle the two characters.
const std::string kNi = "\xC4\xE3";
const std::string kHao = "\xBA\xC3";

TEST(FindText, MatchesOnlyAtCharacterStarts) {
    // The bytes E3 BA are the end of one character and the start of the next.
    const std::string text = kNi + kHao;
    EXPECT_EQ(FindText(text, "\xE3\xBA"), kNotFound);
    EXPECT_EQ(FindText(text, kHao), 2u);
    // An ASCII letter as the trail byte of a character is not a letter.
    const std::string withTrailA =
        "\x81\x41"
        "A";  // 丂 is 81 40; 81 41 is another hanzi
    EXPECT_EQ(FindText(withTrailA, "A"), 2u);
    EXPECT_EQ(FindLastText(withTrailA, "A"), 2u);
}

TEST(FindText, FirstAndLast) {
    const std::string text = "ab" + kNi + "ab" + kNi;
    EXPECT_EQ(FindText(text, kNi), 2u);
    EXPECT_EQ(FindLastText(text, kNi), 6u);
    EXPECT_EQ(FindText(text, kNi, 4), 6u);
    EXPECT_EQ(FindText(text, "zz"), kNotFound);
    EXPECT_EQ(FindLastText("", "a"), kNotFound);
}

struct ReplaceCase {
    const char* name;
    std::string text, what, with, expected;
};

// Rows print as their names in test listings.
void PrintTo(const ReplaceCase& row, std::ostream* os) {
    *os << row.name;
}

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, Replaces) {
    const auto& c = GetParam();
    EXPECT_EQ(ReplaceAll(c.text, c.what, c.with), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(ReplaceCase{"every_occurrence", "a\r\nb\r\n", "\r\n", "<br>", "a<br>b<br>"},
                      ReplaceCase{"non_overlapping", "aaaa", "aa", "b", "bb"},
                      ReplaceCase{"inserted_text_not_rescanned", "ab", "a", "aa", "aab"},
                      ReplaceCase{"empty_search_changes_nothing", "abc", "", "x", "abc"},
                      ReplaceCase{"straddling_bytes_untouched", kNi + kHao, "\xE3\xBA", "x",
                                  kNi + kHao},
                      ReplaceCase{"two_byte_search", kNi + "a" + kNi, kNi, kHao, kHao + "a" + kHao},
                      ReplaceCase{"empty_text", "", "a", "b", ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SplitText, DropsOnlyTheEmptyLastPiece) {
    using Pieces = std::vector<Text>;
    EXPECT_EQ(SplitText("", ","), Pieces{});
    EXPECT_EQ(SplitText("a,b", ","), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitText("a,b,", ","), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitText("a,,", ","), (Pieces{"a", ""}));
    EXPECT_EQ(SplitText(",a", ","), (Pieces{"", "a"}));
    EXPECT_EQ(SplitText("abc", ""), (Pieces{"abc"}));
    EXPECT_EQ(SplitText(kNi + kHao, "\xE3\xBA"), (Pieces{kNi + kHao}));
}

}  // namespace
}  // namespace tavelo
