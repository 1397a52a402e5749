// The range check that strict JSON reading adds: a number too large for a double would
// otherwise be read as Infinity, which JSON cannot write back.
#pragma once

#include <string_view>

namespace tavelo {

// True when a number of the JSON text `json`, outside its strings, is too large in magnitude
// for a double (such as 1e400). Numbers too small for a double read as 0 and pass. Only
// numbers are looked at: whether the rest is JSON is left to the parser.
bool HoldsNumberBeyondDouble(std::string_view json);

}  // namespace tavelo
