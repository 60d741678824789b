// Reads a Wavefront OBJ file into a mesh's vertex and index lists.
#pragma once

#include <string>
#include <string_view>

#include "Singleton.h"

class Mesh;

class OBJFileReader : public Singleton<OBJFileReader> {
public:
  // Reads "../resources/meshes/" + name + ".obj"; false, untouched mesh, when it cannot be read.
  bool Load(std::string name, Mesh* mesh);

  // Reads OBJ statements from text already in memory and appends the result to the mesh.
  // Malformed statements are passed over; false only when mesh is null.
  bool LoadFromText(std::string_view text, Mesh* mesh);

private:
  friend class Singleton<OBJFileReader>;
  OBJFileReader() = default;
};
