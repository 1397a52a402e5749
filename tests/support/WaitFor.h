// Waiting for a condition in tests without assuming how fast the machine is.
#pragma once

#include <chrono>
#include <functional>

namespace tavelo::test {

// Checks `condition` every millisecond until it holds (true) or `timeout` has passed (false).
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace tavelo::test
