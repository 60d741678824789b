// Buffer objects of meshes and the lighting switch: every OpenGL call of the scene code.
#include "SceneGL.h"

#include <GL/glew.h>

#include "Mesh.h"

void Mesh::CreateBuffers() {
  // An empty mesh still gets its two buffers, of size 0, so every mesh is released alike.
  glGenBuffers(1, &mVertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mVertices.size() * sizeof(Vertex)), mVertices.data(),
               GL_STATIC_DRAW);
  glGenBuffers(1, &mIndexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mIndexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mIndices.size() * sizeof(std::uint32_t)),
               mIndices.data(), GL_STATIC_DRAW);
}

namespace scenegl {

void DeleteMeshBuffers(const Mesh& mesh) {
  // The ARB entry point, falling back to the core one where the driver does not export it.
  PFNGLDELETEBUFFERSPROC deleteBuffers = glDeleteBuffersARB ? glDeleteBuffersARB : glDeleteBuffers;
  if (deleteBuffers == nullptr) return;
  deleteBuffers(1, &mesh.mVertexBuffer);
  deleteBuffers(1, &mesh.mIndexBuffer);
}

void EnableLighting() { glEnable(GL_LIGHTING); }

}  // namespace scenegl
