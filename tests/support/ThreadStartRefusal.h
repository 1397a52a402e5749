// While one of these lives, the system refuses to start new threads in this process: the
// default stack size is made larger than the address space. Only for test processes that
// start no threads of their own meanwhile.
#pragma once

#include <pthread.h>

namespace tavelo::test {

class ThreadStartRefusal {
public:
    ThreadStartRefusal();
    ~ThreadStartRefusal();
    ThreadStartRefusal(const ThreadStartRefusal&) = delete;
    ThreadStartRefusal& operator=(const ThreadStartRefusal&) = delete;

private:
    pthread_attr_t saved_;
};

}  // namespace tavelo::test
