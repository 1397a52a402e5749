// Fills a template: up to five search/replacement pairs applied one after the other.
#pragma once

#include <optional>
#include <utility>

#include "text/Text.h"

namespace tavelo {

struct ReplaceOptions {
    // Replace only the first `count` occurrences of each pair (0: none); all when absent or
    // negative.
    std::optional<int> count;
    // 1-based byte position where each scan begins; 0 means 1. Earlier bytes stay as they are.
    int start = 0;
    // When false, A-Z and a-z match without regard to case; other bytes must be equal.
    bool matchCase = false;
};

using ReplacePair = std::pair<std::string_view, std::string_view>;

// Applies each pair in order to the result of the pair before it. A pair with an empty
// search text changes nothing. Matches begin only at character starts, do not overlap, and
// an inserted replacement is not scanned again. Pairs beyond the fifth are ignored.
Text MultiReplace(std::string_view text, std::initializer_list<ReplacePair> pairs,
                  const ReplaceOptions& options = {});

}  // namespace tavelo
