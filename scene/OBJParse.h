// Internal steps of the OBJ reader: the statement pass and the per-triangle processing after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "glm_types.h"

class Mesh;

namespace objreader {

// A field a corner does not carry.
constexpr std::uint32_t kNoIndex = UINT32_MAX;

// One accepted face corner: 0-based indices into the lists below, checked when it was read.
struct Corner {
  std::uint32_t position = 0;
  std::uint32_t texCoord = kNoIndex;
  std::uint32_t normal = kNoIndex;
};

// The working lists of one read; discarded when it ends.
struct ReadLists {
  std::vector<vec3> positions;
  std::vector<vec3> normals;
  std::vector<vec2> texCoords;
  std::vector<Corner> corners;      // three per accepted face, in reading order
  bool hasNormalStatement = false;  // any "vn", even a malformed one
};

// Asks for 2 MB pages in the whole 2 MB blocks of [data, data + bytes), for big lists written
// once from start to end: here each fresh 4 KB page costs a fault.
void PreferLargePages(void* data, std::size_t bytes);

// Reads every statement of text as whitespace-separated tokens into lists; every "v" also
// appends one list to mesh.mPositionNormals. The lists grow with what the text holds.
void ReadStatements(std::string_view text, ReadLists& lists, Mesh& mesh);

// Appends one vertex per corner to mesh.mVertices, with the position, texture coordinate and
// normal its indices name, then gives them face normals, smooth normals, tangents and indices.
// firstPositionList is where this read's lists begin in mesh.mPositionNormals.
void FinishMesh(const ReadLists& lists, std::size_t firstPositionList, Mesh& mesh);

}  // namespace objreader
