// The chat page that the chat view shows, as the program carries it and writes it beside
// itself as "ct7.html": UTF-8 with a byte-order mark, CR LF line ends.
#pragma once

#include <string_view>

namespace tavelo {

// The page's bytes. Its script entry points: AddMsg(name, message, avatar URL) appends one
// bubble (the name "default" gives the user's, on the right; the message is HTML), and
// goBottom() scrolls the newest bubble into view.
std::string_view ChatPageBytes();

}  // namespace tavelo
