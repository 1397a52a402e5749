// The length of a paced wait: an interval in a unit, as a timer's relative due time.
#pragma once

#include <cstdint>

namespace tavelo {

// Milliseconds per unit: code 0 milliseconds, 1 seconds, 2 minutes, 3 hours; any other code
// stands for units of that many milliseconds.
std::int64_t WaitUnitMilliseconds(std::int64_t unit);

// −(interval × milliseconds per unit × 10000) in 100-nanosecond units, truncated toward zero.
// Negative means "this long from now"; zero or more (an interval of 0 or less, or a negative
// unit) means a moment already past. Results beyond the 64-bit range are held at its ends.
std::int64_t WaitDueTime(std::int32_t interval, std::int64_t unit = 0);

}  // namespace tavelo
