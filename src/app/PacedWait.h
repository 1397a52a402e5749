// Pauses the user-interface thread without freezing its windows.
#pragma once

#include <cstdint>

namespace tavelo {

// Waits `interval` units (see WaitUnitMilliseconds; milliseconds by default) while the thread's
// event loop keeps delivering input, painting, timers and queued calls, so event handlers,
// a nested wait included, may run before it returns. The thread sleeps in between: nothing
// polls. An interval of 0 or less returns at once without processing anything. The wait also
// ends early, instead of spinning, when it cannot be set up (no application object or event
// loop on this thread) or when the thread's event loops are told to exit (the program is
// quitting). Always returns true.
bool PacedWait(std::int32_t interval, std::int64_t unit = 0);

}  // namespace tavelo
