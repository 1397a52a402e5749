// The one place through which the answer to one question goes from its worker thread to the
// user-interface thread. Each question gets a slot of its own, held by std::shared_ptr, so
// that a worker may outlive the send that started it and overlapping sends keep their
// answers apart.
#pragma once

#include <functional>
#include <mutex>
#include <optional>

#include "text/Text.h"

namespace tavelo {

class AnswerSlot {
public:
    // Makes `answer` the slot's answer, whole and at once (replacing one not yet taken),
    // then runs the notifier on the calling thread.
    void Publish(Text answer);

    bool HasAnswer() const;

    // The answer, leaving the slot empty; nothing when none is waiting.
    std::optional<Text> Take();

    // Runs `notifier` after every publication, on the publishing thread; it must not block.
    // When an answer is already waiting it runs at once, on the calling thread, so that no
    // publication goes unnoticed.
    void SetNotifier(std::function<void()> notifier);

private:
    mutable std::mutex mutex_;
    std::optional<Text> answer_;
    std::function<void()> notifier_;
};

}  // namespace tavelo
