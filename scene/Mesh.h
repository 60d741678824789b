// One triangle mesh: client-side vertex and index lists and their two buffer objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GLHandle.h"
#include "Vertex.h"
#include "glm_types.h"

class Mesh {
public:
  // Empty lists, identity model, then reads "../resources/meshes/" + name + ".obj" if it exists.
  explicit Mesh(const std::string& name);

  // Uploads mVertices and mIndices into two new buffer objects (needs an OpenGL context).
  void CreateBuffers();

  GLuint mVertexBuffer = 0;
  GLuint mIndexBuffer = 0;
  std::vector<Vertex> mVertices;
  std::vector<vec3> mFaceNormals;
  std::vector<std::vector<vec3>> mPositionNormals;
  std::vector<std::uint32_t> mIndices;
  mat4 mModel = mat4(1.0f);
  std::string mName;
};
