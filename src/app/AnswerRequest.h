// Starts the lookup of one question's answer on a worker thread of its own.
#pragma once

#include <memory>
#include <string_view>

#include "answer/AnswerSlot.h"

namespace tavelo {

// Runs AnswerWorker on a new thread with a copy of `question`; the answer goes into `slot`.
// When no thread can be started, the slot gets the bot's fallback reply at once instead, so
// that whoever waits on the slot is never left waiting. True when a worker was started.
bool StartAnswerLookup(const std::shared_ptr<AnswerSlot>& slot, std::string_view question);

}  // namespace tavelo
