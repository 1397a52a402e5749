#include "answer/BotReply.h"

#include <gtest/gtest.h>

#include <string>

namespace tavelo {
namespace {

const std::string kServiceName = "\xBF\xE4\xBF\xCB";                          // 夸克
const std::string kPersonaName = "\xBF\xC9\xB0\xAE\xD0\xA1\xC2\xDC\xC0\xF2";  // 可爱小萝莉
const std::string kFallback = "\xCE\xD2\xB2\xBB\xD6\xAA\xB5\xC0\xC5\xB6\xA3\xA1";  // 我不知道哦！
const std::string kFullStop = "\xA1\xA3";                                          // 。
const std::string kEllipsis = "\xA1\xAD";                                          // …
const std::string kZhong = "\xD6\xD0";  // 中, a two-byte character

std::string Times(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

struct ReplyCase {
    const char* name;
    std::string answer;
    std::string expected;
};

// Rows print as their names in test listings and failures.
void PrintTo(const ReplyCase& row, std::ostream* os) {
    *os << row.name;
}

class BotReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(BotReplyTest, MakesTheDisplayText) {
    EXPECT_EQ(BotReply(GetParam().answer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BotReplyTest,
    ::testing::Values(
        ReplyCase{"short_answer_kept", "\xC4\xE3\xBA\xC3", "\xC4\xE3\xBA\xC3"},
        ReplyCase{"empty_gives_the_fallback", "", kFallback},
        ReplyCase{"persona_everywhere", kServiceName + "1" + kServiceName,
                  kPersonaName + "1" + kPersonaName},
        // The bytes of 夸克 begin inside a character here.
        ReplyCase{"persona_only_at_character_starts", "\x81\xBF\xE4\xBF\xCB",
                  "\x81\xBF\xE4\xBF\xCB"},
        ReplyCase{"exactly_200_bytes_whole", Times(kZhong, 100), Times(kZhong, 100)},
        ReplyCase{"201_bytes_cut", std::string(201, 'x'), std::string(200, 'x') + kEllipsis},
        ReplyCase{"cut_at_the_last_full_stop_within_200",
                  std::string(100, 'a') + kFullStop + std::string(78, 'b') + kFullStop +
                      std::string(118, 'c'),
                  std::string(100, 'a') + kFullStop + std::string(78, 'b') + kEllipsis},
        ReplyCase{"no_full_stop_within_200",
                  std::string(250, 'a') + kFullStop + std::string(48, 'b'),
                  std::string(200, 'a') + kEllipsis},
        ReplyCase{"full_stop_only_at_the_very_start", kFullStop + std::string(298, 'a'),
                  kFullStop + std::string(198, 'a') + kEllipsis},
        ReplyCase{"full_stop_split_by_the_cut_not_found",
                  std::string(199, 'a') + kFullStop + std::string(99, 'b'),
                  std::string(199, 'a') + kEllipsis},
        ReplyCase{"persona_counted_before_the_length", kServiceName + std::string(192, 'a'),
                  kPersonaName + std::string(190, 'a') + kEllipsis},
        ReplyCase{"split_character_stepped_over", "x" + Times(kZhong, 150),
                  "x" + Times(kZhong, 99) + kEllipsis}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavelo
