// Load: reading a path resource file back into window positions.
#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>

#include <tinyxml2.h>

#include "CubicBSpline.h"
#include "SafeFile.h"

namespace {

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

// Two readings into target.x and target.y; a failed one keeps its component and ends the
// reading. Anything after the second number is ignored.
void ReadPair(std::string_view text, vec2& target) {
  std::size_t pos = 0;
  float value = 0.0f;
  if (!ReadFloat(text, pos, value)) return;
  target.x = value;
  if (ReadFloat(text, pos, value)) target.y = value;
}

bool IsFinite(const vec2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

}  // namespace

void CubicBSpline::ApplyElement(std::string_view tag, std::string_view text) {
  if (tag == "WorldPos") {
    ReadPair(text, mWorldPos);
  } else if (tag == "ControlPoint") {
    vec2 point(0.0f, 0.0f);
    ReadPair(text, point);
    mControlPoints.push_back(point);
  } else if (tag == "Scale") {
    ReadPair(text, mFileScale);
  } else if (tag == "SplineStart") {
    ReadPair(text, mFileSplineStart);
  } else {
    std::cout << "Unrecognised tag: " << tag << std::endl;
  }
}

void CubicBSpline::LoadResourceFile(std::uint32_t index) {
  if (index >= mFilenames.size()) {
    std::cout << "Invalid loading index: " << index << std::endl;
    return;
  }
  mLoadIndex = static_cast<std::int32_t>(index);
  const std::string name = mFilenames[index];

  // Only a regular file is opened (a listed folder or pipe fails rather than blocks), and a
  // document without any element is refused so that the path stays as it was.
  tinyxml2::XMLDocument document;
  const tinyxml2::XMLElement* root = nullptr;
  if (safefile::IsRegularFile(name) && document.LoadFile(name.c_str()) == tinyxml2::XML_SUCCESS)
    root = document.FirstChildElement();
  if (root == nullptr) {
    std::cout << "Failed to load file: " << name << std::endl;
    return;
  }

  // What a load rejected further down restores.
  std::vector<vec2> previousPoints;
  previousPoints.swap(mControlPoints);
  const float previousScale = mScale;
  const float previousRotation = mRotation;
  const vec2 previousFileScale = mFileScale;
  const vec2 previousWorldPos = mWorldPos;
  const vec2 previousSplineStart = mFileSplineStart;

  mScale = 1.0f;
  mRotation = 0.0f;
  mFileScale = vec2(0.0f, 0.0f);
  mWorldPos = vec2(0.0f, 0.0f);
  for (const tinyxml2::XMLElement* child = root->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    // The first child node only, and only if it is text (a leading comment gives no text).
    const tinyxml2::XMLNode* first = child->FirstChild();
    const bool hasText = first != nullptr && first->ToText() != nullptr;
    ApplyElement(child->Name(), hasText ? first->Value() : "");
  }

  // File values back to window positions; the last Scale, WorldPos and SplineStart apply.
  bool finite = true;
  for (vec2& f : mControlPoints) {
    f.x = (f.x + mFileSplineStart.x) * (mFileScale.x * 2.0f) + mWorldPos.x;
    f.y = (f.y + mFileSplineStart.y) * (mFileScale.y * 2.0f) + mWorldPos.y;
    finite = finite && IsFinite(f);
  }
  if (!finite) {
    // Values that overflow the float range on conversion: keep the path as it was.
    mControlPoints.swap(previousPoints);
    mScale = previousScale;
    mRotation = previousRotation;
    mFileScale = previousFileScale;
    mWorldPos = previousWorldPos;
    mFileSplineStart = previousSplineStart;
    std::cout << "Failed to load file: " << name << std::endl;
    return;
  }

  mFilename = name;
  mLoadedFile = name;
  mSamplesValid = false;
  mWorldPos = vec2(0.0f, 0.0f);
  // A selection beyond the new list would reach past it.
  if (mSelectedIndex >= static_cast<std::int64_t>(mControlPoints.size())) mSelectedIndex = -1;
}
