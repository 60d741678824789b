// Internal steps of the OBJ reader: the statement pass and the per-triangle processing after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "glm_types.h"

class Mesh;

namespace objreader {

// The working lists of one read; discarded when it ends.
struct ReadLists {
  std::vector<vec3> positions;
  std::vector<vec3> normals;
  std::vector<vec2> texCoords;
  std::vector<std::uint32_t> cornerPositions;  // 0-based position index of every accepted corner
  bool hasNormalStatement = false;             // any "vn", even a malformed one
};

// Lines by their opening, counted ahead of the statement pass so that the lists are sized
// once. Only an estimate: the statement pass decides what each line adds.
struct LineCounts {
  std::size_t faces = 0, positions = 0, normals = 0, texCoords = 0;
};

// Adds the lines of text (whole lines, as a file is read in pieces) to counts.
void CountLines(std::string_view text, LineCounts& counts);

// Reserves room in the lists and the mesh for what counts announces.
void Reserve(const LineCounts& counts, ReadLists& lists, Mesh& mesh);

// Reads every statement of text, which ends at a line end or at the end of the file; a file is
// read piece after piece. Accepted face corners are appended to mesh.mVertices with their
// position, texture coordinate and normal; every "v" appends one list to
// mesh.mPositionNormals.
void ReadStatements(std::string_view text, ReadLists& lists, Mesh& mesh);

// Face normals, smooth normals, tangents and indices for the corners appended since
// firstVertex; firstPositionList is where this read's lists begin in mesh.mPositionNormals.
void FinishMesh(const ReadLists& lists, std::size_t firstVertex, std::size_t firstPositionList, Mesh& mesh);

}  // namespace objreader
