#include "support/ThreadCount.h"

#include <filesystem>
#include <iterator>

namespace tavelo::test {

std::size_t ThreadCount() {
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 0 : static_cast<std::size_t>(std::distance(tasks, {}));
}

}  // namespace tavelo::test
