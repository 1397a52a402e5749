// How many threads this process has now; lets a test wait for a thread that nobody joins.
#pragma once

#include <cstddef>

namespace tavelo::test {

// The entries of /proc/self/task.
std::size_t ThreadCount();

}  // namespace tavelo::test
