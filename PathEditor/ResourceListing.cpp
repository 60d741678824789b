// The directory scan behind the Load list.
#include "ResourceListing.h"

#include <algorithm>
#include <cctype>  // std::tolower for extensions in any letter case
#include <filesystem>
#include <system_error>

#include "PathFileFormat.h"

namespace {

bool EndsWith(const std::string& name, const char* suffix) {
  return name.compare(name.size() - 4, 4, suffix) == 0;  // callers ensure size >= 5
}

bool IsListed(const std::string& name) {
  if (name == "..") return false;
  if (name.size() < 5) return false;  // also drops "."
  return !EndsWith(name, ".dll") && !EndsWith(name, ".exe") && !EndsWith(name, ".pdb");
}

bool IsImageName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "png" || extension == "jpg" || extension == "jpeg" || extension == "bmp" ||
         extension == "tga";
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

void ListImageFiles(std::vector<std::string>& out) {
  out.clear();
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator it(fs::path("."), error);
  if (error) return;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    // A name the path file's reader refuses (a separator or a drive's colon in it) could be
    // chosen and saved, but not shown again at the next Load.
    std::error_code notAFolder;
    if (IsImageName(name) && pathfile::IsPlainFileName(name) && !it->is_directory(notAFolder))
      out.push_back(std::move(name));
  }
  std::sort(out.begin(), out.end());
}
