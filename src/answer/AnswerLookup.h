// Turns one question into the bot's reply by asking the online answer service once.
//
// The service's scheme and host are "https://quark.sm.cn", or what the environment variable
// TAVELO_ANSWER_URL holds (for tests, and for anyone who runs a compatible service).
#pragma once

#include <memory>

#include "answer/AnswerSlot.h"
#include "text/Text.h"

namespace tavelo {

// Asks the service (one GET, blocking until it has answered or timed out) and makes the
// bot's reply of its JSON answer. Never empty: without a usable answer, "我不知道哦！".
Text LookupAnswer(std::string_view question);

// The routine of one question's worker thread: looks the answer up and publishes it in the
// question's slot.
void AnswerWorker(std::shared_ptr<AnswerSlot> slot, Text question);

}  // namespace tavelo
