// Paths into a JSON document, written in script member syntax such as "data[0].value.answer".
#pragma once

#include <string_view>

namespace tavelo {

// True when `utf8Path` is made only of member steps: a first name or index, then any of
// ".name", "[index]", "['name']", "[\"name\"]" and "()" (a call without arguments, such as
// "toJSONString()"). A name is ASCII letters, digits, "_", "$" and characters beyond ASCII
// other than blanks; an index is a decimal integer. No blanks anywhere. The empty path
// passes. Only such paths are put into script lines, so that no path can run other code.
bool IsMemberPath(std::string_view utf8Path);

}  // namespace tavelo
