// The random pause while the title says the bot is typing: 500 to 2000 ms, both included.
#pragma once

#include <cstdint>

#include "platform/CRandom.h"

namespace tavelo {

constexpr int kShortestTypingPause = 500;
constexpr int kLongestTypingPause = 2000;

// Before each draw the generator is seeded anew from the tick count plus a counter of its own,
// and the counter then grows by ((tick count + counter) mod 256) + 100, so two draws within
// the same tick still start from different seeds.
class TypingPauseDraw {
public:
    int Draw(std::uint32_t tickCount);

private:
    std::uint32_t counter_ = 0;
    CRandom random_;
};

// The next pause in milliseconds from the program's one draw, seeded by the current tick count.
// For the user-interface thread only.
int DrawTypingPause();

}  // namespace tavelo
