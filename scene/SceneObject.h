// A placed instance of a shared mesh.
#pragma once

#include <string>

#include "glm_types.h"

class Mesh;

struct SceneObject {
  Mesh* mMesh = nullptr;  // owned by the mesh library
  vec3 mPosition = vec3(0.0f);
  vec3 mRotation = vec3(0.0f);  // kept, not applied by drawing
  vec3 mScale = vec3(1.0f);
  bool mVisible = true;
  std::string mName;
};
