// Files the way the program's Windows heritage expects them: a run directory, read-only
// files that our own delete and write refuse (even for root), and the hidden, system and
// archive marks kept in the extended attribute "user.DOSATTRIB" as Samba and Wine do.
//
// Paths are the file system's own bytes; they are passed on unchanged.
#pragma once

#include <cstdint>
#include <optional>
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
// The attributes that SetFileAttributes keeps; every other bit is dropped.
constexpr std::uint32_t kKeptFileAttributes = 0x27;

// The directory that holds the running executable, without a trailing separator ("." when
// it cannot be found out).
Text RunDirectory();
// Makes RunDirectory() answer `directory` from now on (tests); an empty text undoes it.
void OverrideRunDirectory(const Text& directory);

// Sets the attributes after masking them with 0x27; they replace all earlier ones. Read-only
// is the absence of every write permission bit: setting it removes them all, clearing it on
// a read-only file gives the owner write permission back (and nobody else). Hidden, system
// and archive are kept as the text "0x.." in "user.DOSATTRIB"; where the file system keeps
// no extended attributes they are skipped silently. False when the file is missing or the
// change fails.
bool SetFileAttributes(const Text& path, std::uint32_t attributes);
// The attributes as SetFileAttributes stores them (0 for a file without any), or
// kInvalidFileAttributes for a missing file.
std::uint32_t GetFileAttributes(const Text& path);

// Deletes a file; refuses (false) a read-only one, a directory or one that is missing.
bool DeleteFileRefusingReadOnly(const Text& path);
// Makes `bytes` the whole content of the file, creating it when missing; refuses (false) a
// read-only file. The bytes go to a temporary file in the same directory, which is flushed
// to disk and then renamed over the old file: a write that fails halfway (full disk, crash,
// kill) leaves the old file as it was. An existing file keeps its permissions, owner and
// extended attributes; a symbolic link is followed and its target replaced.
bool WriteFileRefusingReadOnly(const Text& path, std::string_view bytes);

// The whole content of a regular file, or nothing when it is missing or cannot be read.
std::optional<ByteArray> ReadWholeFile(const Text& path);

}  // namespace tavelo
