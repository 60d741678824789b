// The one owner of every mesh: loads each name once and builds the screen quad in code.
#include "MeshLibrary.h"

#include "Mesh.h"
#include "SceneGL.h"

MeshLibrary::MeshLibrary() {
  // A "UIQuad" file, if present, is read first; its vertices and indices are then replaced.
  Mesh* quad = new Mesh("UIQuad");
  quad->mVertices.assign(4, Vertex());
  // Texture v runs downwards: v = 0 on the upper edge.
  quad->mVertices[0].position = vec3(-0.5f, -0.5f, 1.0f);
  quad->mVertices[0].texCoord = vec2(0.0f, 1.0f);
  quad->mVertices[1].position = vec3(0.5f, -0.5f, 1.0f);
  quad->mVertices[1].texCoord = vec2(1.0f, 1.0f);
  quad->mVertices[2].position = vec3(-0.5f, 0.5f, 1.0f);
  quad->mVertices[2].texCoord = vec2(0.0f, 0.0f);
  quad->mVertices[3].position = vec3(0.5f, 0.5f, 1.0f);
  quad->mVertices[3].texCoord = vec2(1.0f, 0.0f);
  quad->mIndices = {0, 1, 2, 1, 3, 2};  // two triangles, counter-clockwise seen from +z
  quad->CreateBuffers();
  mMeshes.emplace("UIQuad", quad);
}

MeshLibrary::~MeshLibrary() {
  // ReleaseAll has normally emptied the table; free what is left without touching OpenGL,
  // which may already be gone.
  for (auto& entry : mMeshes) delete entry.second;
}

Mesh* MeshLibrary::GetMesh(const std::string& name) {
  auto found = mMeshes.find(name);
  if (found != mMeshes.end()) return found->second;
  // A missing file gives an empty mesh, kept under its name: the file is not tried again.
  Mesh* mesh = new Mesh(name);
  mesh->CreateBuffers();
  mMeshes.emplace(name, mesh);
  return mesh;
}

void MeshLibrary::ReleaseAll() {
  for (auto& entry : mMeshes) {
    scenegl::DeleteMeshBuffers(*entry.second);
    delete entry.second;
  }
  std::unordered_map<std::string, Mesh*>().swap(mMeshes);
}
