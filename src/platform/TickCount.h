// Milliseconds since an arbitrary start, wrapping at 2^32, as the system's tick count counts.
#pragma once

#include <cstdint>

namespace tavelo {

std::uint32_t TickCount();

}  // namespace tavelo
