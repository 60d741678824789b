// The statement pass of the OBJ reader: one forward scan over the text, keyword by keyword.
#include <sys/mman.h>

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
bool IsBlank(char c) { return c != '\n' && IsSpace(c); }  // whitespace inside a line
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Asks for 2 MB pages in the whole 2 MB blocks of [data, data + bytes): a big mesh's vertex
// list is written once from start to end, and here each fresh 4 KB page costs a fault.
void PreferLargePages(void* data, std::size_t bytes) {
  constexpr std::uintptr_t kLarge = std::uintptr_t(1) << 21;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kLarge - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

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

  void SkipBlanks() {
    while (mAt != mEnd && IsBlank(*mAt)) ++mAt;
  }

  // Discards up to and including the next newline, at most limit characters.
  void SkipLine(int limit) {
    for (int count = 0; mAt != mEnd && count < limit; ++count) {
      if (*mAt++ == '\n') return;
    }
  }

  void SkipWholeLine() { SkipLine(INT_MAX); }

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

  // Reads N numbers from the statement's own line. A number that is missing or not numeric
  // ends the statement: the entry keeps what was read, with 0 for the rest, so that later
  // indices still point at the entries the file means; the rest of the line is skipped.
  template <int N>
  glm::vec<N, float, glm::defaultp> ReadFloats() {
    glm::vec<N, float, glm::defaultp> result(0.0f);
    for (int i = 0; i < N; ++i) {
      SkipBlanks();
      float value = 0.0f;
      if (!ParseFloat(value)) {
        SkipWholeLine();
        return result;
      }
      result[i] = value;
    }
    return result;
  }

  // A 1-based index, checked against the entries read so far.
  bool ParseIndex(std::size_t available, std::size_t& index) {
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
    index = static_cast<std::size_t>(value - 1);
    return true;
  }

  // One corner: p, p/t, p//n or p/t/n, with no blanks around the slashes.
  bool ReadCorner(Vertex& vertex, std::uint32_t& position) {
    SkipBlanks();
    std::size_t index = 0;
    if (!ParseIndex(mLists.positions.size(), index)) return false;
    vertex.position = mLists.positions[index];
    position = static_cast<std::uint32_t>(index);
    if (mAt == mEnd || *mAt != '/') return true;
    ++mAt;
    if (mAt == mEnd || *mAt != '/') {
      if (!ParseIndex(mLists.texCoords.size(), index)) return false;
      vertex.texCoord = mLists.texCoords[index];
      if (mAt == mEnd || *mAt != '/') return true;
    }
    // The slash that opens the normal field.
    ++mAt;
    if (mAt != mEnd && *mAt == '/') return true;  // empty normal field
    if (!ParseIndex(mLists.normals.size(), index)) return false;
    vertex.normal = mLists.normals[index];
    return true;
  }

  // Three corners from the statement's own line; more are left to be read as keywords.
  // A face with a bad corner or fewer than three corners adds nothing and loses its line.
  void ReadFace() {
    std::array<Vertex, 3> corners{};
    std::array<std::uint32_t, 3> positions{};
    for (int i = 0; i < 3; ++i) {
      if (!ReadCorner(corners[i], positions[i])) {
        SkipWholeLine();
        return;
      }
    }
    for (int i = 0; i < 3; ++i) {
      mMesh.mVertices.push_back(corners[i]);
      mLists.cornerPositions.push_back(positions[i]);
    }
  }

  const char* mAt;
  const char* mEnd;
  ReadLists& mLists;
  Mesh& mMesh;
};

}  // namespace

void CountLines(std::string_view text, LineCounts& counts) {
  const char* end = text.data() + text.size();
  for (const char* line = text.data(); line < end;) {
    const char* next =
        static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
    next = next ? next + 1 : end;
    if (next - line > 2) {
      if (line[0] == 'f') {
        ++counts.faces;
      } else if (line[0] == 'v') {
        if (IsBlank(line[1])) {
          ++counts.positions;
        } else if (line[1] == 'n') {
          ++counts.normals;
        } else if (line[1] == 't') {
          ++counts.texCoords;
        }
      }
    }
    line = next;
  }
}

void Reserve(const LineCounts& counts, ReadLists& lists, Mesh& mesh) {
  mesh.mVertices.reserve(mesh.mVertices.size() + 3 * counts.faces);
  PreferLargePages(mesh.mVertices.data() + mesh.mVertices.size(),
                   (mesh.mVertices.capacity() - mesh.mVertices.size()) * sizeof(Vertex));
  mesh.mPositionNormals.reserve(mesh.mPositionNormals.size() + counts.positions);
  lists.cornerPositions.reserve(lists.cornerPositions.size() + 3 * counts.faces);
  lists.positions.reserve(lists.positions.size() + counts.positions);
  lists.normals.reserve(lists.normals.size() + counts.normals);
  lists.texCoords.reserve(lists.texCoords.size() + counts.texCoords);
}

void ReadStatements(std::string_view text, ReadLists& lists, Mesh& mesh) { Scanner(text, lists, mesh).Run(); }

}  // namespace objreader
