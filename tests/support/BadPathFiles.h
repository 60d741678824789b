// Entries of a working folder that no Load can take: the one table of them that the path
// model's tests and the end-to-end tests both go through.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

struct BadPathFile {
  const char* name;  // the entry's name in the folder, also the case's name
  // Makes the entry in `folder`.
  void (*make)(const std::filesystem::path& folder);
  // The entry is removed once the Load list has listed it (a file gone since the listing).
  bool goneAfterListing = false;
};

const std::vector<BadPathFile>& BadPathFiles();

// How a failing case names its entry.
inline void PrintTo(const BadPathFile& file, std::ostream* out) { *out << file.name; }

// A readable test name for an entry: its name with every character but letters and digits
// turned into '_'.
std::string BadPathFileCaseName(const BadPathFile& file);

}  // namespace testsupport
