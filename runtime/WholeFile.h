// Reading a file whole, for the runtime's path files and the editor's Load and backups alike.
#pragma once

#include <string>

namespace wholefile {

// Reads the regular file `path` into `out` (emptied first). The file is opened first and
// then examined through the open handle, so what is read is what was checked even while
// other programs rename files; opening never waits on a pipe. False when the file is missing,
// not a regular file (a folder, a pipe, a device) or unreadable; the reason then goes to
// *reason when given: the system's text ("No such file or directory") or "not a regular file".
bool Read(const std::string& path, std::string& out, std::string* reason = nullptr);

}  // namespace wholefile
