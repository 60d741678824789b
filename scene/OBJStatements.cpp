// The statement pass of the OBJ reader: one forward scan over the text, token by token.
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Mesh.h"
#include "OBJParse.h"

namespace objreader {

namespace {

// A line that is not understood loses at most this many characters before tokens are read again.
constexpr int kSkipLimit = 256;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Scanner {
public:
  Scanner(std::string_view text, ReadLists& lists, Mesh& mesh)
      : mAt(text.data()), mEnd(text.data() + text.size()), mLists(lists), mMesh(mesh) {}

  void Run() {
    std::string_view keyword;
    while (NextToken(keyword)) {
      if (keyword[0] == 'f') {
        ReadFace();
      } else if (keyword == "v") {
        vec3 p = ReadFloats<3>();
        mLists.positions.push_back(p);
        mMesh.mPositionNormals.emplace_back();
      } else if (keyword == "vn") {
        mLists.normals.push_back(ReadFloats<3>());
        mLists.hasNormalStatement = true;
      } else if (keyword == "vt") {
        mLists.texCoords.push_back(ReadFloats<2>());
      } else if (keyword[0] != 'v') {
        SkipLine(kSkipLimit);
      }
      // Other 'v' keywords (vp, ...) do nothing; what follows them is read as keywords.
    }
  }

private:
  bool NextToken(std::string_view& token) {
    while (mAt != mEnd && IsSpace(*mAt)) ++mAt;
    if (mAt == mEnd) return false;
    const char* start = mAt;
    while (mAt != mEnd && !IsSpace(*mAt)) ++mAt;
    token = std::string_view(start, static_cast<std::size_t>(mAt - start));
    return true;
  }

  void SkipSpaces() {
    while (mAt != mEnd && IsSpace(*mAt)) ++mAt;
  }

  // Discards up to and including the next newline, at most limit characters.
  void SkipLine(int limit) {
    for (int count = 0; mAt != mEnd && count < limit; ++count) {
      if (*mAt++ == '\n') return;
    }
  }

  // A float as stream extraction reads it: optional sign, then digits or a point; no inf, nan
  // or hex. Leaves the cursor after the number.
  bool ParseFloat(float& value) {
    const char* s = mAt;
    bool negative = false;
    if (s != mEnd && (*s == '+' || *s == '-')) {
      negative = *s == '-';
      ++s;
    }
    if (s == mEnd || !(IsDigit(*s) || *s == '.')) return false;
    auto [next, error] = std::from_chars(s, mEnd, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
      // from_chars also refuses values that underflow; strtof keeps those (as 0 or a denormal).
      std::array<char, 128> copy{};
      auto length = static_cast<std::size_t>(next - s);
      if (length >= copy.size()) return false;
      std::memcpy(copy.data(), s, length);
      value = std::strtof(copy.data(), nullptr);
      if (!std::isfinite(value)) return false;
    } else if (error != std::errc()) {
      return false;
    }
    if (negative) value = -value;
    mAt = next;
    return true;
  }

  // Reads N numbers, wherever the line ends fall between them. A token that is not a number
  // ends the statement: the entry keeps what was read, with 0 for the rest, so that later
  // indices still point at the entries the file means, and that token is read as the next
  // keyword (a statement's keyword starts that statement; anything else loses its line).
  template <int N>
  glm::vec<N, float, glm::defaultp> ReadFloats() {
    glm::vec<N, float, glm::defaultp> result(0.0f);
    for (int i = 0; i < N; ++i) {
      SkipSpaces();
      float value = 0.0f;
      if (!ParseFloat(value)) return result;
      result[i] = value;
    }
    return result;
  }

  // A 1-based index, checked against the entries read so far; gives it 0-based.
  bool ParseIndex(std::size_t available, std::uint32_t& index) {
    const char* s = mAt;
    bool negative = false;
    if (s != mEnd && (*s == '+' || *s == '-')) {
      negative = *s == '-';
      ++s;
    }
    if (s == mEnd || !IsDigit(*s)) return false;
    unsigned long long value = 0;
    bool tooBig = false;
    for (; s != mEnd && IsDigit(*s); ++s) {
      value = value * 10 + static_cast<unsigned>(*s - '0');
      if (value > static_cast<unsigned long long>(INT_MAX)) {
        tooBig = true;
        value = 0;
      }
    }
    mAt = s;
    if (negative || tooBig || value == 0 || value > available) return false;
    index = static_cast<std::uint32_t>(value - 1);
    return true;
  }

  // One corner: p, p/t, p//n or p/t/n, with no blanks around the slashes.
  bool ReadCorner(Corner& corner) {
    SkipSpaces();
    if (!ParseIndex(mLists.positions.size(), corner.position)) return false;
    if (mAt == mEnd || *mAt != '/') return true;
    ++mAt;
    if (mAt == mEnd || *mAt != '/') {
      if (!ParseIndex(mLists.texCoords.size(), corner.texCoord)) return false;
      if (mAt == mEnd || *mAt != '/') return true;
    }
    // The slash that opens the normal field.
    ++mAt;
    if (mAt != mEnd && *mAt == '/') return true;  // empty normal field
    return ParseIndex(mLists.normals.size(), corner.normal);
  }

  // Three corners, wherever the line ends fall between them; what follows is read as
  // keywords. A face with a bad corner adds nothing: reading goes on where that corner
  // stopped, so the bad token (or what follows a bad index) loses the rest of its line, and a
  // statement's keyword where a corner should be starts that statement.
  void ReadFace() {
    std::array<Corner, 3> corners{};
    for (Corner& corner : corners) {
      if (!ReadCorner(corner)) return;
    }
    mLists.corners.insert(mLists.corners.end(), corners.begin(), corners.end());
  }

  const char* mAt;
  const char* mEnd;
  ReadLists& mLists;
  Mesh& mMesh;
};

}  // namespace

void ReadStatements(std::string_view text, ReadLists& lists, Mesh& mesh) { Scanner(text, lists, mesh).Run(); }

}  // namespace objreader
