// Reads a Wavefront OBJ file into a mesh's vertex and index lists.
#pragma once

#include <string>

#include "Singleton.h"

class Mesh;

class OBJFileReader : public Singleton<OBJFileReader> {
public:
  // Reads "../resources/meshes/" + name + ".obj"; false, untouched mesh, when it cannot be opened.
  bool Load(std::string name, Mesh* mesh);

private:
  friend class Singleton<OBJFileReader>;
  OBJFileReader() = default;
};
