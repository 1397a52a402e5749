#include <gtest/gtest.h>

#include <limits>

#include "platform/WaitDueTime.h"

namespace tavelo {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct Case {
    const char* name;
    std::int32_t interval;
    std::int64_t unit;
    std::int64_t due;
};

void PrintTo(const Case& row, std::ostream* os) {
    *os << row.name;
}

class WaitDueTimeCases : public ::testing::TestWithParam<Case> {};

TEST_P(WaitDueTimeCases, ComputesTheRelativeDueTime) {
    EXPECT_EQ(WaitDueTime(GetParam().interval, GetParam().unit), GetParam().due);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaitDueTimeCases,
    ::testing::Values(
        Case{"milliseconds", 500, 0, -5'000'000}, Case{"seconds", 2, 1, -20'000'000},
        Case{"minutes", 2, 2, -1'200'000'000}, Case{"hours", 2, 3, -72'000'000'000},
        Case{"other_code_is_its_own_milliseconds", 2, 7, -140'000},
        Case{"zero_interval_is_due_now", 0, 1, 0},
        Case{"negative_interval_is_long_past", -1, 0, 10'000},
        Case{"negative_unit_is_long_past", 5, -3, 150'000},
        Case{"longest_interval_in_hours", std::numeric_limits<std::int32_t>::max(), 3, kMin},
        Case{"most_negative_interval_in_hours", std::numeric_limits<std::int32_t>::min(), 3, kMax}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavelo
