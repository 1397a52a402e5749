// Files the way the program's Windows heritage expects them: a run directory, read-only
// files that our own delete and write refuse (even for root), and the hidden, system and
// archive marks kept in the extended attribute "user.DOSATTRIB" as Samba and Wine do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace tavelo {

enum FileAttribute : std::uint32_t {
    kFileReadOnly = 0x01,
    kFileHidden = 0x02,
    kFileSystem = 0x04,
    kFileArchive = 0x20,
};

constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// The directory that holds the running executable, without a trailing separator.
Text RunDirectory();
// Makes RunDirectory() answer `directory` from now on (tests); an empty text undoes it.
void OverrideRunDirectory(const Text& directory);

// Sets the attributes after masking them with 0x27; they replace all earlier ones. Read-only
// is the absence of every write permission bit. Where the file system keeps no extended
// attributes, hidden, system and archive are skipped silently. False when the file is missing.
bool SetFileAttributes(const Text& path, std::uint32_t attributes);
// The attributes as SetFileAttributes stores them, or kInvalidFileAttributes.
std::uint32_t GetFileAttributes(const Text& path);

// Deletes a file; refuses (false) a read-only one or one that is missing.
bool DeleteFileRefusingReadOnly(const Text& path);
// Creates the file or truncates it and writes the bytes; refuses a read-only file.
bool WriteFileRefusingReadOnly(const Text& path, std::string_view bytes);

}  // namespace tavelo
