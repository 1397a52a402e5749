#include "ThreadStartRefusal.h"

#include <cstddef>
#include <cstdlib>

namespace tavelo::test {

namespace {

constexpr std::size_t kImpossibleStack = std::size_t{1} << 48;  // 256 TiB

}  // namespace

ThreadStartRefusal::ThreadStartRefusal() {
    if (pthread_getattr_default_np(&saved_) != 0) {
        std::abort();
    }
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, kImpossibleStack);
    if (pthread_setattr_default_np(&huge) != 0) {
        std::abort();
    }
    pthread_attr_destroy(&huge);
}

ThreadStartRefusal::~ThreadStartRefusal() {
    pthread_setattr_default_np(&saved_);
    pthread_attr_destroy(&saved_);
}

}  // namespace tavelo::test
