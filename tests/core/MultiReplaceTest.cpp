#include <gtest/gtest.h>

#include "text/MultiReplace.h"

namespace tavelo {
namespace {

const std::string kTemplate =
    "AddMsg('#NAME', \"#\xC4\xDA\xC8\xDD\xB1\xE4\xC1\xBF"
    "91874\",'#IMG');";
const std::string kBodyMark =
    "#\xC4\xDA\xC8\xDD\xB1\xE4\xC1\xBF"
    "91874";  // #内容变量91874

TEST(MultiReplace, FillsTheTemplatePairsInOrder) {
    // A message that itself holds "#IMG" gets the avatar (a later pair), "#NAME" stays.
    const Text line = MultiReplace(
        kTemplate, {{"#NAME", "bot"}, {kBodyMark, "see #IMG #NAME"}, {"#IMG", "http://a/b.png"}});
    EXPECT_EQ(line, "AddMsg('bot', \"see http://a/b.png #NAME\",'http://a/b.png');");
}

struct Case {
    const char* name;
    std::string text;
    ReplaceOptions options;
    std::string what, with, expected;
};

// Rows print as their names in test listings.
void PrintTo(const Case& row, std::ostream* os) {
    *os << row.name;
}

class MultiReplaceCases : public ::testing::TestWithParam<Case> {};

TEST_P(MultiReplaceCases, Replaces) {
    const auto& c = GetParam();
    EXPECT_EQ(MultiReplace(c.text, {{c.what, c.with}}, c.options), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MultiReplaceCases,
    ::testing::Values(
        Case{"all_by_default", "xaxax", {}, "a", "b", "xbxbx"},
        Case{"ascii_case_folded", "A-a", {}, "a", "b", "b-b"},
        Case{"match_case", "A-a", {.matchCase = true}, "a", "b", "A-b"},
        Case{"count_limits", "aaa", {.count = 2}, "a", "b", "bba"},
        Case{"count_zero_replaces_none", "aaa", {.count = 0}, "a", "b", "aaa"},
        Case{"start_is_one_based", "aaa", {.start = 2}, "a", "b", "abb"},
        Case{"start_zero_means_one", "aaa", {.start = 0}, "a", "b", "bbb"},
        Case{"start_past_end", "aaa", {.start = 9}, "a", "b", "aaa"},
        Case{"empty_search", "aaa", {}, "", "b", "aaa"},
        Case{"not_rescanned", "aa", {}, "a", "aa", "aaaa"},
        Case{"no_match_across_characters",
             "\xC4\xE3\xBA\xC3",
             {},
             "\xE3\xBA",
             "x",
             "\xC4\xE3\xBA\xC3"},
        // 81 61 and 81 41 are different characters: their trail bytes are not letters.
        Case{"trail_bytes_not_folded", "\x81\x61", {}, "\x81\x41", "x", "\x81\x61"},
        Case{"non_letters_not_folded", "[", {}, "{", "x", "["}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MultiReplace, EachPairSeesThePreviousResultAndAtMostFivePairsApply) {
    EXPECT_EQ(MultiReplace("a", {{"a", "b"}, {"b", "c"}}), "c");
    EXPECT_EQ(MultiReplace("a", {{"a", "b"}, {"", "x"}, {"b", "c"}}), "c");
    EXPECT_EQ(
        MultiReplace("0", {{"0", "1"}, {"1", "2"}, {"2", "3"}, {"3", "4"}, {"4", "5"}, {"5", "6"}}),
        "5");
}

}  // namespace
}  // namespace tavelo
