// The entries no Load can take, each made the way it would turn up in a user's folder.
#include "BadPathFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace testsupport {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

std::string Document(const std::string& children) { return "<resource>\n" + children + "</resource>\n"; }

// Elements nested far deeper than the XML reader follows.
std::string Nested(const std::string& inside) {
  constexpr int kDepth = 100000;
  std::string text;
  text.reserve(7 * kDepth + inside.size());
  for (int i = 0; i < kDepth; ++i) text += "<a>";
  text += inside;
  for (int i = 0; i < kDepth; ++i) text += "</a>";
  return text;
}

}  // namespace

const std::vector<BadPathFile>& BadPathFiles() {
  static const std::vector<BadPathFile> files = {
      {"folder.xml", [](const fs::path& folder) { fs::create_directory(folder / "folder.xml"); }},
      {"empty.xml", [](const fs::path& folder) { Write(folder / "empty.xml", ""); }},
      // The head of a program: an ELF header, NUL bytes and every byte value.
      {"binary.xml",
       [](const fs::path& folder) {
         std::string bytes(
             "\x7f"
             "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0",
             16);
         for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>(i % 256));
         Write(folder / "binary.xml", bytes);
       }},
      {"notes.txt",
       [](const fs::path& folder) {
         Write(folder / "notes.txt", "Shopping list:\n- eggs & <milk>\n- bread\n");
       }},
      {"broken.xml",
       [](const fs::path& folder) {
         Write(folder / "broken.xml", "<resource><ControlPoint>1 1</resource>");
       }},
      {"comment.xml",
       [](const fs::path& folder) {
         Write(folder / "comment.xml", "<?xml version=\"1.0\"?><!-- only a comment -->");
       }},
      {"deep.xml", [](const fs::path& folder) { Write(folder / "deep.xml", Nested("")); }},
      {"deep_point.xml",
       [](const fs::path& folder) {
         Write(folder / "deep_point.xml", Document(Nested("<ControlPoint>0.5 0.5</ControlPoint>")));
       }},
      // Values that overflow the float range once the frame places them.
      {"huge.xml",
       [](const fs::path& folder) {
         Write(folder / "huge.xml", Document("<Scale>3e38 1</Scale><ControlPoint>1 1</ControlPoint>"));
       }},
      {"gone.xml",
       [](const fs::path& folder) {
         Write(folder / "gone.xml", Document("<ControlPoint>0 0</ControlPoint>\n"));
       },
       true},
  };
  return files;
}

std::string BadPathFileCaseName(const BadPathFile& file) {
  std::string name = file.name;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
}

}  // namespace testsupport
