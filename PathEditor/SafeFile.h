// File writes that never leave a half-written file in place of the user's previous one.
#pragma once

#include <string>
#include <string_view>

namespace safefile {

// Replaces (or creates) the file `path` with `bytes`: the bytes go to a temporary file in the
// same folder, which is then renamed over the target. Refused, with nothing changed, when the
// target is not a regular file or its permission bits (or those of its folder) forbid writing;
// root is held to the bits too, so a read-only file stays read-only. No temporary file is left
// behind on failure.
bool ReplaceFile(const std::string& path, std::string_view bytes);

enum class CreateResult { Created, Exists, Failed };

// Creates `path` with `bytes` only if nothing of that name exists yet; a write that fails
// part-way removes what it created.
CreateResult CreateNewFile(const std::string& path, std::string_view bytes);

// Reads a regular file whole; false if it is missing, not a regular file or unreadable.
bool ReadWholeFile(const std::string& path, std::string& out);

bool IsRegularFile(const std::string& path);

}  // namespace safefile
