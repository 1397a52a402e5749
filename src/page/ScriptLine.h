// The script line that adds one chat bubble to the chat page.
#pragma once

#include "text/Text.h"

namespace tavelo {

// The text as the content of a JavaScript string literal, safe between single or double
// quotes: backslash, both quotes, CR, LF, the other control characters, U+2028 and U+2029
// are escaped, and so are "<", ">" and "&" (as \u003C, \u003E, \u0026), so the line stays
// harmless even inside HTML. Characters are escaped, not bytes: the second byte of a
// two-byte character is never taken for an ASCII one, and bytes that form no character of
// code page 936 come out as "?", as the page would show them.
Text EscapeScriptString(std::string_view gbk);

// The call that adds one bubble: the page's template "AddMsg('#NAME', \"#内容变量91874\",'#IMG');"
// filled with the escaped name, message and avatar URL, in that order. The message stays
// HTML: "<br>" breaks its line. The name "default" gives the user's bubble.
Text BubbleScriptLine(std::string_view name, std::string_view message, std::string_view avatarUrl);

}  // namespace tavelo
