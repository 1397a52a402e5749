// INI ("private profile") files, read and written key by key the way the Windows service
// does it, on top of our own file layer.
//
// A file is lines of "[section]" headers, "key=value" entries and ";" comments. Section and
// key names match without regard to ASCII case, and blanks around names and values do not
// count. Only the first section of a name is looked at, and only the first entry of a key in
// it. Bytes of two-byte characters are never taken for brackets, "=" or letters.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/Text.h"

namespace tavelo {

// The value of `key` in `section` of the file at `path`. Anything missing (file, section,
// key or value) gives the empty text. The value is cut to at most `bufferSize` - 1 bytes, as
// a buffer of that size holds it with its terminating zero; the cut never splits a two-byte
// character.
Text GetPrivateProfileString(std::string_view section, std::string_view key, std::size_t bufferSize,
                             const Text& path);

// Sets `key` in `section` to `value`. An entry that exists keeps everything up to its "=" and
// gets the new value after it; a new entry "key=value" follows the last entry of the
// section; a missing section is added at the end of the file, and a missing file is created
// holding "[section]" and the entry. Every other byte of the file stays as it was. New lines
// end the way the file's first line ends, CR LF in a new file. Line breaks in `value` are
// written as blanks, so that a value cannot spill into further lines.
//
// The file is replaced as a whole through a temporary file (see WriteFileRefusingReadOnly):
// a write that fails leaves it as it was. False, with nothing changed, when the file is
// read-only or cannot be read or written, or when the section or key is empty or could not
// be read back (a key holding "=" or starting with "[" or ";", a section holding "]").
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const Text& path);

}  // namespace tavelo
