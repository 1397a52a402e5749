#include "app/TypingPause.h"

#include "platform/TickCount.h"

namespace tavelo {

int TypingPauseDraw::Draw(std::uint32_t tickCount) {
    const std::uint32_t seed = tickCount + counter_;
    random_.Seed(seed);
    counter_ += seed % 256 + 100;
    constexpr int kSpan = kLongestTypingPause - kShortestTypingPause + 1;
    return kShortestTypingPause + random_.Next() % kSpan;
}

int DrawTypingPause() {
    static TypingPauseDraw draw;
    return draw.Draw(TickCount());
}

}  // namespace tavelo
