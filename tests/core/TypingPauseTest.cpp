#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "app/TypingPause.h"
#include "platform/CRandom.h"

namespace tavelo {
namespace {

TEST(CRandom, GivesTheCLibrarySequence) {
    CRandom random;  // seeded with 1, as the C library starts
    const std::vector<int> expected{41, 18467, 6334, 26500, 19169};
    std::vector<int> values;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        values.push_back(random.Next());
    }
    EXPECT_EQ(values, expected);
}

struct RangeCase {
    const char* name;
    std::function<std::uint32_t(int draw)> tick;
};

void PrintTo(const RangeCase& row, std::ostream* os) {
    *os << row.name;
}

class TypingPauseRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(TypingPauseRange, CoversFiveHundredToTwoThousandBothIncluded) {
    TypingPauseDraw draw;
    std::vector<int> pauses;
    for (int i = 0; i < 100000; ++i) {
        pauses.push_back(draw.Draw(GetParam().tick(i)));
    }
    const auto [lowest, highest] = std::minmax_element(pauses.begin(), pauses.end());
    EXPECT_EQ(*lowest, 500);
    EXPECT_EQ(*highest, 2000);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypingPauseRange,
    ::testing::Values(
        RangeCase{"ticks_advancing", [](int draw) { return static_cast<std::uint32_t>(draw * 7); }},
        // Draws within one tick are seeded apart by the counter alone.
        RangeCase{"all_in_one_tick", [](int) { return std::uint32_t{123456}; }},
        RangeCase{"tick_count_wrapping",
                  [](int draw) { return 0xFFFFFF00u + static_cast<std::uint32_t>(draw); }}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavelo
