// The C library's pseudo-random generator as the program's original platform has it: a linear
// congruential generator whose values run from 0 to 32767. Kept in an object, so each user
// has its own sequence and no state is shared between threads.
#pragma once

#include <cstdint>

namespace tavelo {

class CRandom {
public:
    static constexpr int kMax = 32767;

    explicit CRandom(std::uint32_t seed = 1) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }

    // The next value, 0 to kMax.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state_;
};

}  // namespace tavelo
