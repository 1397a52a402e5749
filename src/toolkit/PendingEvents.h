// Lets the window system catch up from inside a long handler.
#pragma once

namespace tavelo {

// Handles every window event and posted call that is waiting for this thread, then returns.
void ProcessPendingEvents();

}  // namespace tavelo
