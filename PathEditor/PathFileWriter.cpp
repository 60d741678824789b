// Save: the name rule, the numbered backup and the text of a path resource file.
#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
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

bool EndsWithXml(const std::string& name) {
  return name.size() >= 5 && name.compare(name.size() - 4, 4, ".xml") == 0;
}

}  // namespace

bool BackupExisting(const std::string& name) {
  if (!safefile::IsRegularFile(name)) return true;  // nothing there to keep
  std::string content;
  tinyxml2::XMLDocument document;
  if (document.LoadFile(name.c_str()) == tinyxml2::XML_SUCCESS) {
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    content.assign(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
  } else if (!safefile::ReadWholeFile(name, content)) {
    return false;
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
  // A previous file that cannot be kept is not overwritten either.
  if (BackupExisting(name))
    WriteResourceFile(name);
  else
    std::cout << "failed to save: " << name << std::endl;
  ListResourceFiles("", mFilenames);
  DefineLoadEnum(mFilenames);
}

void CubicBSpline::WriteResourceFile(const std::string& name) {
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

  std::string text;
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
  if (!finite || !safefile::ReplaceFile(name, text))
    std::cout << "failed to save: " << name << std::endl;
}
