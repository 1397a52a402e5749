// The bot's display text made from the answer service's answer: the persona's name in place
// of the service's own, a fixed reply when there is no answer, and long answers cut.
#pragma once

#include "text/Text.h"

namespace tavelo {

// Every "夸克" (at character starts) becomes "可爱小萝莉"; an empty answer becomes
// "我不知道哦！". A result longer than 200 bytes keeps its first 200 bytes, or less: up to
// the last "。" among them when one stands after the first byte, else without a character
// that byte 200 would split; then "…" is appended.
Text BotReply(std::string_view answer);

}  // namespace tavelo
