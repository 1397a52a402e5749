#include "platform/WaitDueTime.h"

#include <limits>

namespace tavelo {

std::int64_t WaitUnitMilliseconds(std::int64_t unit) {
    switch (unit) {
        case 0:
            return 1;
        case 1:
            return 1000;
        case 2:
            return 60000;
        case 3:
            return 3600000;
        default:
            return unit;
    }
}

std::int64_t WaitDueTime(std::int32_t interval, std::int64_t unit) {
    const double due = -(static_cast<double>(interval) *
                         static_cast<double>(WaitUnitMilliseconds(unit)) * 10000.0);
    // Converting a double outside the target's range is undefined, so hold it at the ends.
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (due >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (due <= -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(due);
}

}  // namespace tavelo
