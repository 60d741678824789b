// Save and Load: the path's file text through the file format, the numbered backup, the safe
// write, and every console message.
#include "PathFiles.h"

#include <iostream>
#include <optional>
#include <string_view>

#include <tinyxml2.h>

#include "PathFileFormat.h"
#include "PathFrame.h"
#include "ResourceListing.h"
#include "SafeFile.h"

namespace {

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

PathPoint ToPathPoint(const vec2& v) { return PathPoint{v.x, v.y}; }

void FailedToLoad(const std::string& name) { std::cout << "Failed to load file: " << name << std::endl; }

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

PathFiles::PathFiles() { RefreshListing(); }

void PathFiles::RefreshListing() { ListResourceFiles("", mFilenames); }

void PathFiles::Save(const CubicBSpline& spline) {
  if (spline.mControlPoints.empty()) {
    std::cout << "My friend, there is no control point to save..." << std::endl;
    return;
  }
  if (mFilename.empty()) {
    std::cout << "My friend, I need a filename to save..." << std::endl;
    return;
  }
  const std::string name = EndsWithXml(mFilename) ? mFilename : mFilename + ".xml";
  std::vector<PathPoint> windowPoints;
  for (const vec2& w : spline.WindowPoints()) windowPoints.push_back(ToPathPoint(w));
  // Whether the save can go through is settled before the backup, so that a refused save
  // leaves the folder as it was. A previous file that cannot be kept is not overwritten either.
  const std::optional<std::string> text = pathfile::WriteResourceFile(windowPoints, FileFrame());
  const bool saved =
      text && safefile::CanReplace(name) && BackupExisting(name) && safefile::ReplaceFile(name, *text);
  if (!saved) std::cout << "failed to save: " << name << std::endl;
  RefreshListing();
}

bool PathFiles::LoadResourceFile(std::uint32_t index, CubicBSpline& spline) {
  if (index >= mFilenames.size()) {
    std::cout << "Invalid loading index: " << index << std::endl;
    return false;
  }
  mLoadIndex = static_cast<std::int32_t>(index);
  const std::string name = mFilenames[index];

  // Only a regular file is read (a listed folder or pipe fails rather than blocks).
  std::string text;
  std::optional<pathfile::Contents> contents;
  if (safefile::IsRegularFile(name) && safefile::ReadWholeFile(name, text))
    contents = pathfile::ReadResourceFile(text, ToPathPoint(mFileSplineStart));
  if (!contents) {
    FailedToLoad(name);
    return false;
  }
  for (const std::string& message : contents->messages) std::cout << message << std::endl;
  const std::optional<std::vector<PathPoint>> positions = pathfile::WindowPositions(*contents);
  if (!positions) {
    FailedToLoad(name);  // values that overflow the float range: the path stays as it was
    return false;
  }

  PathValues loaded;
  for (const PathPoint& p : *positions) loaded.mControlPoints.push_back(vec2(p.x, p.y));
  // A selection beyond the new list would reach past it.
  const bool selectionFits = spline.mSelectedIndex < static_cast<std::int64_t>(positions->size());
  loaded.mSelectedIndex = selectionFits ? spline.mSelectedIndex : -1;
  spline.SetValues(loaded);
  mFileSplineStart = vec2(contents->splineStart.x, contents->splineStart.y);
  mFilename = name;
  mLoadedFile = name;
  return true;
}
