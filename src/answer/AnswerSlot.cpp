#include "answer/AnswerSlot.h"

#include <utility>

namespace tavelo {

void AnswerSlot::Publish(Text answer) {
    std::function<void()> notifier;
    {
        std::lock_guard lock(mutex_);
        answer_ = std::move(answer);
        notifier = notifier_;
    }
    // Outside the lock, so that the notifier may look at the slot.
    if (notifier) {
        notifier();
    }
}

bool AnswerSlot::HasAnswer() const {
    std::lock_guard lock(mutex_);
    return answer_.has_value();
}

std::optional<Text> AnswerSlot::Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(answer_, std::nullopt);
}

void AnswerSlot::SetNotifier(std::function<void()> notifier) {
    bool waiting;
    {
        std::lock_guard lock(mutex_);
        notifier_ = notifier;
        waiting = answer_.has_value();
    }
    if (waiting && notifier) {
        notifier();
    }
}

}  // namespace tavelo
