// The chat's message flow: a bubble on the user's or the bot's side, the whole exchange that
// a user's message starts, and the bot's status in the title bar.
#pragma once

#include <memory>
#include <string_view>

#include "answer/AnswerSlot.h"
#include "text/Text.h"

namespace tavelo {

// The avatars shown while the settings give none: Gravatar's stock robot portrait for the
// bot and its silhouette of a person, as a JPEG, for the user.
inline constexpr std::string_view kDefaultBotAvatarUrl =
    "https://gravatar.com/avatar/00000000000000000000000000000000?d=robohash";
inline constexpr std::string_view kDefaultOwnAvatarUrl =
    "https://gravatar.com/avatar/00000000000000000000000000000000.jpg?d=mp";

// Shows `message` as a bubble: the bot's when `side` is 1, the user's otherwise. One leading
// CR LF is removed from `message` and every CR LF becomes "<br>", in the caller's variable;
// nothing is shown when that leaves it empty. An empty nickname or avatar URL gets its
// default here, and keeps it.
//
// The bot's bubble sets the status to online and returns. The user's bubble empties the input
// box and runs the exchange before returning: after 500 ms the title says the bot is typing,
// after a further random 500 to 2000 ms a worker thread of its own asks the answer service,
// and the answer is shown as the bot's bubble as soon as it has arrived. Window events keep
// being handled all along, so another send may run its whole exchange inside this one. When
// the chat window is closed meanwhile, the send stops where it is.
void SendChatMessage(Text& message, int side = 0);

// Writes the bot's nickname and "(正在输入中…)" (typing) or "(在线)" (online) into the title.
void SetChatStatus(bool typing);

// The last step of an exchange: waits until `slot` holds the answer, handling window events
// meanwhile and waking as soon as it is published, then shows it as the bot's bubble. Nothing
// is shown when the chat window has been closed or the program is quitting first.
void ShowAnswerWhenItArrives(const std::shared_ptr<AnswerSlot>& slot);

}  // namespace tavelo
