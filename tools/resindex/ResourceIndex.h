// Lists a folder's XML resources and writes them as the source text of an init function.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace resindex {

// Empties names, then fills it with the folder's entries (files and subfolders alike) whose
// names end in ".xml" in any case, sorted byte-wise. folder is a prefix: "" is the current
// folder. A folder that cannot be listed leaves the entries read so far (usually none).
void ListFiles(const std::string& folder, std::vector<std::string>& names);

// False when the permission bits let no one write `file`, or, when it does not exist yet, its
// folder. The system lets root write such a file all the same; the tool keeps to the bits
// whoever runs it, so that a read-only output stays as it is. True when the bits cannot be read:
// opening the file then decides.
bool BitsAllowWriting(const std::string& file);

// Writes name as the body of a C/C++ string literal (without the enclosing quotes): quotes,
// backslashes, control characters and trigraph-forming "??" are escaped, other bytes pass.
void WriteNameLiteral(std::ostream& out, const std::string& name);

// Writes "void init()" with one GetResource line per name; nothing at all for no names.
void WriteIndex(std::ostream& out, const std::vector<std::string>& names);

}  // namespace resindex
