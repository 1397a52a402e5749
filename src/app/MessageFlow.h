// Showing messages in the chat: a bubble on the user's or the bot's side, and the bot's
// status in the title bar.
#pragma once

#include "text/Text.h"

namespace tavelo {

// Shows `message` as a bubble: the bot's when `side` is 1, the user's otherwise. One leading
// CR LF is removed from `message` and every CR LF becomes "<br>", in the caller's variable;
// nothing is shown when that leaves it empty. The user's bubble empties the input box; the
// bot's sets the status to online.
void SendChatMessage(Text& message, int side = 0);

// Writes the bot's nickname and "(正在输入中…)" (typing) or "(在线)" (online) into the title.
void SetChatStatus(bool typing);

}  // namespace tavelo
