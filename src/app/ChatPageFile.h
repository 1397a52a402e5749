// The chat page file beside the program.
#pragma once

#include "text/Text.h"

namespace tavelo {

// The run directory followed by "/ct7.html".
Text ChatPagePath();

// Writes the page the program carries to ChatPagePath(): deletes the file, writes the bytes
// and marks it read-only, hidden, system and archive. A file that an earlier start left
// read-only refuses the delete and the write and stays as it is; it is marked again.
void WriteChatPageFile();

}  // namespace tavelo
