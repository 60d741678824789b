// The folder listing and the init-function text of the resource index.
#include "ResourceIndex.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace resindex {

namespace fs = std::filesystem;

namespace {

// The platform's own search matches "*.xml" ignoring case; this is the same test on a name.
bool HasXmlExtension(const std::string& name) {
  static const char kExtension[] = ".xml";
  const std::size_t length = sizeof(kExtension) - 1;
  if (name.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    char c = name[name.size() - length + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kExtension[i]) return false;
  }
  return true;
}

void WriteOctal(std::ostream& out, unsigned char byte) {
  // Always three digits, so a digit that follows in the name is not taken into the escape.
  out << '\\' << static_cast<char>('0' + ((byte >> 6) & 7)) << static_cast<char>('0' + ((byte >> 3) & 7))
      << static_cast<char>('0' + (byte & 7));
}

bool HasWriteBit(const fs::file_status& status) {
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (status.permissions() & write) != fs::perms::none;
}

}  // namespace

bool BitsAllowWriting(const std::string& file) {
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (!error) return HasWriteBit(status);
  if (status.type() != fs::file_type::not_found) return true;
  const fs::path folder = fs::path(file).parent_path();
  const fs::file_status folderStatus = fs::status(folder.empty() ? fs::path(".") : folder, error);
  return error || HasWriteBit(folderStatus);
}

void ListFiles(const std::string& folder, std::vector<std::string>& names) {
  names.clear();
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::string name = it->path().filename().string();
    if (HasXmlExtension(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
}

void WriteNameLiteral(std::ostream& out, const std::string& name) {
  char previous = '\0';
  for (char c : name) {
    const unsigned char byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out << "\\\""; break;
      case '\\': out << "\\\\"; break;
      case '\n': out << "\\n"; break;
      case '\t': out << "\\t"; break;
      case '\r': out << "\\r"; break;
      // "??/" and friends are trigraphs where those are still read; "?\?" never forms one.
      case '?': out << (previous == '?' ? "\\?" : "?"); break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          WriteOctal(out, byte);
        } else {
          out << c;
        }
    }
    previous = c;
  }
}

void WriteIndex(std::ostream& out, const std::vector<std::string>& names) {
  if (names.empty()) return;
  out << "void init()\n{" << '\n';
  for (const std::string& name : names) {
    out << "  GetResource(" << '"';
    WriteNameLiteral(out, name);
    out << '"' << ");" << '\n';
  }
  out << "}" << '\n';
}

}  // namespace resindex
