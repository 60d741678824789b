// The path file's text from its values and its values from a text.
#include "PathFileFormat.h"

#include <locale.h>  // newlocale, for reading numbers in the "C" locale whatever the program's
#include <stdlib.h>  // strtof_l

#include <charconv>
#include <cmath>
#include <system_error>

#include <tinyxml2.h>

#include "SplineCurve.h"

namespace pathfile {

namespace {

// ---- Writing

// A single-precision value as a text stream prints it by default (%g, six digits).
void AppendNumber(std::string& text, float value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                    std::chars_format::general, 6);
  text.append(digits, result.ptr);
}

void AppendLine(std::string& text, const char* tag, const PathPoint& value) {
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

// The name of the ends in the root's attribute; a free path has no attribute.
const char* EndsName(PathEnds ends) {
  switch (ends) {
    case PathEnds::Pinned: return "pinned";
    case PathEnds::Loop: return "loop";
    case PathEnds::Free: break;
  }
  return nullptr;
}

// ---- Reading

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads one float from text at pos the way `std::istream >> float` does in the "C" locale:
// skips white space, takes the longest run of sign, digits, one point and an exponent the
// stream's number grammar accepts, and converts it. Fails on no number, an incomplete one
// ("1e", "."), and on overflow; the caller then stops reading, as a failed stream does.
bool ReadFloat(std::string_view text, std::size_t& pos, float& out) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  const std::size_t begin = pos;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  bool mantissa = false, point = false, exponent = false;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '.' && !point && !exponent) {
      point = true;
    } else if ((c == 'e' || c == 'E') && !exponent && mantissa) {
      exponent = true;
      if (++pos == text.size()) break;
      if (text[pos] != '+' && text[pos] != '-') continue;
    } else if (IsDigit(c)) {
      mantissa = true;
    } else {
      break;
    }
    ++pos;
  }
  if (pos == begin) return false;

  // Only the characters taken above are converted, independent of the locale. from_chars
  // takes no leading plus; it reports underflow and overflow alike as out of range, where a
  // stream fails only on overflow, so strtof_l in the "C" locale settles those few.
  const char* first = text.data() + begin;
  const char* last = text.data() + pos;
  if (*first == '+') ++first;
  float value = 0.0f;
  const auto [stop, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (stop != last) return false;
  if (error == std::errc::result_out_of_range) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string token(first, last);
    char* end = nullptr;
    value = strtof_l(token.c_str(), &end, cLocale);
    if (end != token.c_str() + token.size()) return false;
  } else if (error != std::errc()) {
    return false;
  }
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

// A value read from a file as one line of text: control characters (an attribute may hold a
// line feed) shown as '?'.
std::string Printable(std::string_view value) {
  std::string shown(value);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  return shown;
}

// Two readings into target.x and target.y; a failed one keeps its component and ends the
// reading. Anything after the second number is ignored.
void ReadPair(std::string_view text, PathPoint& target) {
  std::size_t pos = 0;
  float value = 0.0f;
  if (!ReadFloat(text, pos, value)) return;
  target.x = value;
  if (ReadFloat(text, pos, value)) target.y = value;
}

}  // namespace

std::optional<std::string> WriteResourceFile(const std::vector<PathPoint>& windowPoints, const Frame& frame,
                                             PathEnds ends) {
  const PathPoint size{2.0f * frame.halfSize.x, 2.0f * frame.halfSize.y};
  std::vector<PathPoint> normalised;
  normalised.reserve(windowPoints.size());
  for (const PathPoint& w : windowPoints)
    normalised.push_back(PathPoint{(w.x - frame.corner.x) / size.x, (w.y - frame.corner.y) / size.y});
  const PathPoint start = splinecurve::Evaluate(normalised.data(), normalised.size(), ends, 0.0f);

  std::string text;
  text.reserve(128 + 48 * normalised.size());
  const char* endsName = EndsName(ends);
  text += endsName != nullptr ? std::string("<resource ends=\"") + endsName + "\">\n" : "<resource>\n";
  AppendLine(text, "Scale", frame.halfSize);
  AppendLine(text, "WorldPos", frame.corner);
  AppendLine(text, "SplineStart", start);
  bool finite = IsFinite(start);
  for (const PathPoint& n : normalised) {
    const PathPoint value{n.x - start.x, n.y - start.y};
    finite = finite && IsFinite(value);
    AppendLine(text, "ControlPoint", value);
  }
  text += "</resource>\n";
  if (!finite) return std::nullopt;
  return text;
}

void ApplyElement(std::string_view tag, std::string_view text, Contents& contents) {
  if (tag == "WorldPos") {
    ReadPair(text, contents.worldPos);
  } else if (tag == "ControlPoint") {
    PathPoint point{0.0f, 0.0f};
    ReadPair(text, point);
    contents.controlPoints.push_back(point);
  } else if (tag == "Scale") {
    ReadPair(text, contents.scale);
  } else if (tag == "SplineStart") {
    ReadPair(text, contents.splineStart);
  } else {
    contents.messages.push_back("Unrecognised tag: " + std::string(tag));
  }
}

std::optional<Contents> ReadResourceFile(std::string_view text, const PathPoint& splineStart) {
  tinyxml2::XMLDocument document;
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return std::nullopt;
  const tinyxml2::XMLElement* root = document.FirstChildElement();
  if (root == nullptr) return std::nullopt;  // a declaration or comments alone

  Contents contents;
  contents.splineStart = splineStart;
  if (const char* ends = root->Attribute("ends")) {
    const std::string_view name = ends;
    if (name == "pinned") {
      contents.ends = PathEnds::Pinned;
    } else if (name == "loop") {
      contents.ends = PathEnds::Loop;
    } else if (name != "free") {
      contents.messages.push_back("Unrecognised ends: " + Printable(name));
    }
  }
  for (const tinyxml2::XMLElement* child = root->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    // The first child node only, and only if it is text (a leading comment gives no text).
    const tinyxml2::XMLNode* first = child->FirstChild();
    const bool hasText = first != nullptr && first->ToText() != nullptr;
    ApplyElement(child->Name(), hasText ? first->Value() : "", contents);
  }
  return contents;
}

std::optional<std::vector<PathPoint>> WindowPositions(const Contents& contents) {
  std::vector<PathPoint> positions;
  positions.reserve(contents.controlPoints.size());
  for (const PathPoint& f : contents.controlPoints) {
    const PathPoint w{(f.x + contents.splineStart.x) * (contents.scale.x * 2.0f) + contents.worldPos.x,
                      (f.y + contents.splineStart.y) * (contents.scale.y * 2.0f) + contents.worldPos.y};
    if (!IsFinite(w)) return std::nullopt;  // values that overflow the float range
    positions.push_back(w);
  }
  return positions;
}

}  // namespace pathfile
