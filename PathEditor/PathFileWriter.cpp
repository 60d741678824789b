// Save: the name rule, the numbered backup and the text of a path resource file.
#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <tinyxml2.h>

#include "CubicBSpline.h"
#include "PathFile.h"
#include "PathFrame.h"
#include "ResourceListing.h"
#include "SafeFile.h"

namespace {

// A single-precision value as a text stream prints it by default (%g, six digits).
void AppendNumber(std::string& text, float value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                    std::chars_format::general, 6);
  text.append(digits, result.ptr);
}

void AppendLine(std::string& text, const char* tag, const vec2& value) {
  text += "  <";
  text += tag;
  text += '>';
  AppendNumber(text, value.x);
  text += ' ';
  AppendNumber(text, value.y);
  text += "</";
  text += tag;
  text += ">\n";
}

bool IsFinite(const vec2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsNumberText(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' || c == ' ';
}

// "<name>" at `at`, with a plain name; moves past it.
bool ReadOpenTag(std::string_view text, std::size_t& at, std::string_view& name) {
  if (at >= text.size() || text[at] != '<' || at + 1 >= text.size() || !IsNameStart(text[at + 1]))
    return false;
  std::size_t end = at + 2;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  if (end >= text.size() || text[end] != '>') return false;
  name = text.substr(at + 1, end - at - 1);
  at = end + 1;
  return true;
}

// "</name>\n" at `at`; moves past it.
bool ReadCloseLine(std::string_view text, std::size_t& at, std::string_view name) {
  const std::size_t length = name.size() + 4;
  if (text.size() - at < length || text.compare(at, 2, "</") != 0 ||
      text.compare(at + 2, name.size(), name) != 0 || text.compare(at + 2 + name.size(), 2, ">\n") != 0)
    return false;
  at += length;
  return true;
}

// The previous file as the XML library prints it (four spaces of indent per level), worked
// out directly when the file has exactly the form this writer gives it: the root tag on its
// own line, then lines "  <Name>numbers</Name>", then the closing root tag and the end. For
// such text the library's printing only changes the indent. Anything else: false.
bool PrintWrittenForm(std::string_view file, std::string& printed) {
  std::size_t at = 0;
  std::string_view root;
  if (!ReadOpenTag(file, at, root) || at >= file.size() || file[at++] != '\n') return false;
  printed.clear();
  printed.reserve(file.size() + file.size() / 8);
  printed.append("<").append(root).append(">\n");
  bool anyChild = false;
  while (file.compare(at, 2, "  ") == 0) {
    at += 2;
    std::string_view child;
    if (!ReadOpenTag(file, at, child)) return false;
    const std::size_t start = at;
    bool filled = false;
    for (; at < file.size() && IsNumberText(file[at]); ++at) filled = filled || file[at] != ' ';
    if (!filled) return false;  // text of blanks only is left to the library
    const std::string_view value = file.substr(start, at - start);
    if (!ReadCloseLine(file, at, child)) return false;
    printed.append("    <").append(child).append(">").append(value);
    printed.append("</").append(child).append(">\n");
    anyChild = true;
  }
  if (!anyChild || !ReadCloseLine(file, at, root) || at != file.size()) return false;
  printed.append("</").append(root).append(">\n");
  return true;
}

bool EndsWithXml(const std::string& name) {
  return name.size() >= 5 && name.compare(name.size() - 4, 4, ".xml") == 0;
}

}  // namespace

bool BackupExisting(const std::string& name) {
  if (!safefile::IsRegularFile(name)) return true;  // nothing there to keep
  std::string content;
  if (!safefile::ReadWholeFile(name, content)) return false;
  std::string printed;
  if (PrintWrittenForm(content, printed)) {
    content.swap(printed);
  } else {
    // Anything else goes through the library; a file it cannot parse is kept byte for byte.
    tinyxml2::XMLDocument document;
    if (document.LoadFile(name.c_str()) == tinyxml2::XML_SUCCESS) {
      tinyxml2::XMLPrinter printer(nullptr, false);
      document.Print(&printer);
      content.assign(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
    }
  }
  for (unsigned long long k = 0;; ++k) {
    switch (safefile::CreateNewFile(name + ".bak" + std::to_string(k), content)) {
      case safefile::CreateResult::Created: return true;
      case safefile::CreateResult::Exists: continue;
      case safefile::CreateResult::Failed: return false;
    }
  }
}

void CubicBSpline::Save() {
  if (mControlPoints.empty()) {
    std::cout << "My friend, there is no control point to save..." << std::endl;
    return;
  }
  if (mFilename.empty()) {
    std::cout << "My friend, I need a filename to save..." << std::endl;
    return;
  }
  const std::string name = EndsWithXml(mFilename) ? mFilename : mFilename + ".xml";
  // Whether the save can go through is settled before the backup, so that a refused save
  // leaves the folder as it was. A previous file that cannot be kept is not overwritten either.
  std::string text;
  const bool saved = ResourceFileText(text) && safefile::CanReplace(name) && BackupExisting(name) &&
                     safefile::ReplaceFile(name, text);
  if (!saved) std::cout << "failed to save: " << name << std::endl;
  RefreshLoadList();
}

void CubicBSpline::WriteResourceFile(const std::string& name) {
  std::string text;
  if (!ResourceFileText(text) || !safefile::ReplaceFile(name, text))
    std::cout << "failed to save: " << name << std::endl;
}

bool CubicBSpline::ResourceFileText(std::string& text) const {
  // Window positions normalised to the frame: its lower-left corner at (0, 0), its
  // upper-right corner at (1, 1).
  const vec2 halfSize(gFrameHalfWidth, gFrameHalfHeight);
  const vec2 corner = gFrameCenter - halfSize;
  const vec2 size = 2.0f * halfSize;
  const WindowMap map = MakeWindowMap();
  std::vector<vec2> normalised;
  normalised.reserve(mControlPoints.size());
  for (const vec2& p : mControlPoints) normalised.push_back((map.Apply(p) - corner) / size);
  const vec2 start = EvaluatePoints(normalised, 0.0f);

  text.clear();
  text.reserve(128 + 48 * normalised.size());
  text += "<resource>\n";
  AppendLine(text, "Scale", halfSize);
  AppendLine(text, "WorldPos", corner);
  AppendLine(text, "SplineStart", start);
  bool finite = IsFinite(start);
  for (const vec2& n : normalised) {
    const vec2 value = n - start;
    finite = finite && IsFinite(value);
    AppendLine(text, "ControlPoint", value);
  }
  text += "</resource>\n";
  // A path placed beyond the float range (a huge scale) has no file form.
  return finite;
}
