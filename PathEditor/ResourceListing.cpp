// The directory scan behind the Load list.
#include "ResourceListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

bool EndsWith(const std::string& name, const char* suffix) {
  return name.compare(name.size() - 4, 4, suffix) == 0;  // callers ensure size >= 5
}

bool IsListed(const std::string& name) {
  if (name == "..") return false;
  if (name.size() < 5) return false;  // also drops "."
  return !EndsWith(name, ".dll") && !EndsWith(name, ".exe") && !EndsWith(name, ".pdb");
}

}  // namespace

void ListResourceFiles(const std::string& prefix, std::vector<std::string>& out) {
  out.clear();
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator it(prefix.empty() ? fs::path(".") : fs::path(prefix), error);
  if (error) return;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;  // keep what was read before the scan broke off
    std::string name = it->path().filename().string();
    if (IsListed(name)) out.push_back(std::move(name));
  }
  // std::string compares its bytes as unsigned values: upper case sorts before lower case.
  std::sort(out.begin(), out.end());
}
