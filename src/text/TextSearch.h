// Finding, replacing and splitting inside a Text, matching only where a character begins.
#pragma once

#include <vector>

#include "text/Text.h"

namespace tavelo {

constexpr std::size_t kNotFound = std::string_view::npos;

// The first position at or after `from` where `what` begins at a character start, or
// kNotFound. `from` must itself be a character start. An empty `what` is found at `from`.
std::size_t FindText(std::string_view text, std::string_view what, std::size_t from = 0);

// The last position where `what` begins at a character start, or kNotFound.
std::size_t FindLastText(std::string_view text, std::string_view what);

// Every non-overlapping occurrence of `what` replaced by `with`, scanning left to right;
// an inserted text is not scanned again. An empty `what` changes nothing.
Text ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

// The pieces between occurrences of `separator`. An empty piece at the very end is dropped,
// so the empty text gives no pieces. An empty separator gives the whole text as one piece.
std::vector<Text> SplitText(std::string_view text, std::string_view separator);

}  // namespace tavelo
