// The passes after reading: face normals, smooth normals, tangents and the triangle list.
#include <cmath>

#include "Mesh.h"
#include "OBJParse.h"

namespace objreader {

namespace {

// Normals closer than this in every component count as the same normal of a position.
constexpr float kSameNormal = 1e-6f;
// Texture-coordinate determinants below this give no tangent frame.
constexpr float kMinDeterminant = 1e-6f;

// Unit length in double precision, for the rare vectors whose squared length float cannot hold;
// (0, 0, 0) when the vector has no direction.
vec3 NormalisedInDouble(double x, double y, double z) {
  double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0.0) || !std::isfinite(length)) return vec3(0.0f);
  vec3 unit(static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length));
  return IsFinite(unit) ? unit : vec3(0.0f);
}

vec3 Normalised(const vec3& v) {
  float length2 = glm::dot(v, v);
  if (std::isnormal(length2)) return v * (1.0f / std::sqrt(length2));
  return NormalisedInDouble(v.x, v.y, v.z);
}

// (p0 - p2) x (p1 - p2) at unit length; (0, 0, 0) for a triangle without area.
vec3 FaceNormal(const vec3& p0, const vec3& p1, const vec3& p2) {
  vec3 n = glm::cross(p0 - p2, p1 - p2);
  float length2 = glm::dot(n, n);
  if (std::isnormal(length2)) return n * (1.0f / std::sqrt(length2));
  // Overflow or underflow in float: redo the product in double.
  double ax = double(p0.x) - p2.x, ay = double(p0.y) - p2.y, az = double(p0.z) - p2.z;
  double bx = double(p1.x) - p2.x, by = double(p1.y) - p2.y, bz = double(p1.z) - p2.z;
  return NormalisedInDouble(ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx);
}

bool HoldsNormal(const std::vector<vec3>& list, const vec3& n) {
  for (const vec3& e : list) {
    if (std::fabs(n.x - e.x) < kSameNormal && std::fabs(n.y - e.y) < kSameNormal &&
        std::fabs(n.z - e.z) < kSameNormal) {
      return true;
    }
  }
  return false;
}

}  // namespace

void FinishMesh(const ReadLists& lists, std::size_t firstPositionList, Mesh& mesh) {
  const std::size_t corners = lists.corners.size();
  const std::size_t positionCount = lists.positions.size();
  std::vector<vec3>* positionNormals = mesh.mPositionNormals.data() + firstPositionList;

  // One vertex per corner, made once the number of corners is known, so the list is sized
  // once. The entries a corner names never change after it was read, so the values are those
  // the corner saw.
  const std::size_t firstVertex = mesh.mVertices.size();
  mesh.mVertices.reserve(firstVertex + corners);
  PreferLargePages(mesh.mVertices.data() + firstVertex, corners * sizeof(Vertex));
  mesh.mVertices.resize(firstVertex + corners);
  Vertex* vertices = mesh.mVertices.data() + firstVertex;
  for (std::size_t c = 0; c < corners; ++c) {
    const Corner& corner = lists.corners[c];
    vertices[c].position = lists.positions[corner.position];
    if (corner.texCoord != kNoIndex) vertices[c].texCoord = lists.texCoords[corner.texCoord];
    if (corner.normal != kNoIndex) vertices[c].normal = lists.normals[corner.normal];
  }

  // How many corners use each position: the most distinct normals its list can get, so each
  // list is allocated once at its final size, and the count the tangent averages divide by.
  const std::size_t triangleCorners = corners - corners % 3;
  std::vector<unsigned> useCounts(positionCount, 0u);
  for (std::size_t c = 0; c < triangleCorners; ++c) ++useCounts[lists.corners[c].position];
  mesh.mFaceNormals.reserve(mesh.mFaceNormals.size() + triangleCorners);

  // Distinct face normals per position; a triangle without area has no normal to give.
  for (std::size_t c = 0; c + 2 < corners; c += 3) {
    vec3 n = FaceNormal(vertices[c].position, vertices[c + 1].position, vertices[c + 2].position);
    if (n == vec3(0.0f)) continue;
    for (std::size_t k = c; k < c + 3; ++k) {
      const std::uint32_t q = lists.corners[k].position;
      std::vector<vec3>& list = positionNormals[q];
      if (HoldsNormal(list, n)) continue;
      if (list.capacity() == 0) list.reserve(useCounts[q]);
      list.push_back(n);
      mesh.mFaceNormals.push_back(n);
    }
  }

  // Smooth normals only for files that bring none of their own.
  if (!lists.hasNormalStatement) {
    std::vector<vec3> smooth(positionCount, vec3(0.0f));
    for (std::size_t q = 0; q < positionCount; ++q) {
      const std::vector<vec3>& list = positionNormals[q];
      if (list.empty()) continue;
      vec3 sum(0.0f);
      for (const vec3& e : list) sum += e;
      smooth[q] = Normalised(sum / static_cast<float>(list.size()));
    }
    for (std::size_t c = 0; c < corners; ++c) vertices[c].normal = smooth[lists.corners[c].position];
  }

  // Tangent frames from each triangle's texture coordinates, averaged per position. A corner
  // without a texture-coordinate field pairs with its vertex's own (0, 0).
  std::vector<vec3> tangentSums(positionCount, vec3(0.0f));
  std::vector<vec3> bitangentSums(positionCount, vec3(0.0f));
  for (std::size_t c = 0; c + 2 < corners; c += 3) {
    const Vertex& v0 = vertices[c];
    const Vertex& v1 = vertices[c + 1];
    const Vertex& v2 = vertices[c + 2];
    vec3 e1 = v1.position - v0.position;
    vec3 e2 = v2.position - v0.position;
    float du1 = v1.texCoord.x - v0.texCoord.x, dv1 = v1.texCoord.y - v0.texCoord.y;
    float du2 = v2.texCoord.x - v0.texCoord.x, dv2 = v2.texCoord.y - v0.texCoord.y;
    float det = du1 * dv2 - du2 * dv1;
    vec3 t(0.0f), b(0.0f);
    if (std::fabs(det) >= kMinDeterminant) {
      t = (dv2 * e1 - dv1 * e2) / det;
      b = (du1 * e2 - du2 * e1) / det;
      if (!IsFinite(t) || !IsFinite(b)) t = b = vec3(0.0f);
    }
    for (std::size_t k = c; k < c + 3; ++k) {
      std::uint32_t q = lists.corners[k].position;
      tangentSums[q] += t;
      bitangentSums[q] += b;
    }
  }
  for (std::size_t c = 0; c < corners; ++c) {
    std::uint32_t q = lists.corners[c].position;
    // Every corner's position was used by its own triangle, so the count is at least 1.
    float count = static_cast<float>(useCounts[q]);
    vertices[c].tangent = tangentSums[q] / count;
    vertices[c].biTangent = bitangentSums[q] / count;
  }

  // One vertex per corner: the triangle list is simply 0, 1, 2, ...
  mesh.mIndices.reserve(mesh.mIndices.size() + corners);
  for (std::size_t c = 0; c < corners; ++c) {
    mesh.mIndices.push_back(static_cast<std::uint32_t>(firstVertex + c));
  }
}

}  // namespace objreader
