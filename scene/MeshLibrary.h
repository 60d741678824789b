// Owns every mesh, loaded once by name; builds "UIQuad" in code.
#pragma once

#include <string>
#include <unordered_map>

class Mesh;

class MeshLibrary {
public:
  MeshLibrary();  // builds and registers "UIQuad"
  ~MeshLibrary();
  MeshLibrary(const MeshLibrary&) = delete;
  MeshLibrary& operator=(const MeshLibrary&) = delete;

  Mesh* GetMesh(const std::string& name);  // never null
  void ReleaseAll();                       // deletes every buffer and mesh

  std::unordered_map<std::string, Mesh*> mMeshes;  // owned; names compared case-sensitively
};
