// File writes that never leave a half-written file in place of the user's previous one.
// (Files are read with the runtime's whole-file reader, WholeFile.h.)
#pragma once

#include <string>
#include <string_view>

namespace safefile {

// Whether ReplaceFile may replace (or create) `path`: false when the target is not a regular
// file or its permission bits (or those of its folder) forbid writing. Root is held to the
// bits too, so a read-only file stays read-only. A symbolic link stands for the file it points
// to, which need not exist yet.
bool CanReplace(const std::string& path);

// Replaces (or creates) the file `path` with `bytes`, durably: the bytes go to a temporary file
// in the same folder, are flushed to the disk, and the file is renamed over the target; then
// the folder is flushed, so that a power cut leaves either the old file or the new one. A
// symbolic link is kept and the file it points to replaced. Refused, with nothing changed, when
// CanReplace says no. No temporary file is left behind on failure.
bool ReplaceFile(const std::string& path, std::string_view bytes);

enum class CreateResult { Created, Exists, Failed };

// Creates `path` with `bytes` only if nothing of that name exists yet, flushed to the disk with
// its folder entry. The bytes are written to a temporary file first and linked in under the
// name whole, so that a kill or a power cut never leaves a part of them there (on a file system
// without hard links they are written in place). A write that fails removes what it created.
CreateResult CreateNewFile(const std::string& path, std::string_view bytes);

bool IsRegularFile(const std::string& path);

}  // namespace safefile
