// Texts on their way into and out of the script engine, which holds UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "text/Text.h"

namespace tavelo {

// A code page 936 text as the engine reads it.
std::string ToEngineText(std::string_view gbk);

// A text that the engine gave back, in code page 936: a character beyond U+FFFF, which the
// engine holds as a pair of surrogates, counts as one character, and "?" stands for each
// character that code page 936 cannot hold (a lone surrogate among them).
Text FromEngineText(std::string_view engineText);

}  // namespace tavelo
