// A mesh takes its vertices and indices from the OBJ file of its name.
#include "Mesh.h"

#include "OBJFileReader.h"

Mesh::Mesh(const std::string& name) : mName(name) {
  // A file that cannot be read leaves the mesh empty; drawing it then draws nothing.
  OBJFileReader::Instance()->Load(name, this);
}
